#!/usr/bin/env python3
"""Puts a skin file into a window description as the SkinStream of one engine.

    embed_skin.py SKIN.cskn FORM.form [ENGINE]

The engine's block (default SkSkinEngine1) gets SkinStream = {02 + the file's
bytes}; its other properties stay, the rest of the description is untouched.
"""
import sys


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    skin_path, form_path = sys.argv[1], sys.argv[2]
    engine = sys.argv[3] if len(sys.argv) > 3 else "SkSkinEngine1"
    skin = open(skin_path, "rb").read()
    if len(skin) < 6:
        sys.exit("%s is too short to be a skin" % skin_path)
    text = open(form_path, "rb").read().decode("utf-8")
    newline = "\r\n" if "\r\n" in text else "\n"
    lines = text.split(newline)
    head = None
    for i, line in enumerate(lines):
        words = line.strip().split()
        if len(words) >= 2 and words[0].lower() == "object" and words[1].rstrip(":") == engine:
            head = i
            break
    if head is None:
        sys.exit("%s has no object %s" % (form_path, engine))
    indent = lines[head][: len(lines[head]) - len(lines[head].lstrip())]
    end = head + 1
    while end < len(lines) and lines[end] != indent + "end":
        end += 1
    if end == len(lines):
        sys.exit("the block of %s does not end" % engine)

    # Keep every property but the old stream (which may span several lines).
    kept, k = [], head + 1
    while k < end:
        line = lines[k]
        if line.strip().startswith("SkinStream"):
            while "}" not in lines[k]:
                k += 1
            k += 1
            continue
        kept.append(line)
        k += 1

    hexdigits = (b"\x02" + skin).hex().upper()
    pad = indent + "    "
    stream = [indent + "  SkinStream = {"]
    stream += [pad + hexdigits[j : j + 64] for j in range(0, len(hexdigits), 64)]
    stream[-1] += "}"
    lines[head + 1 : end] = stream + kept
    open(form_path, "wb").write(newline.join(lines).encode("utf-8"))


if __name__ == "__main__":
    main()
