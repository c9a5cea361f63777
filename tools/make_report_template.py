#!/usr/bin/env python3
"""Makes resources/report_template.doc, the report template the program carries.

The readable source is report_template/template.fodt.in (a flat OpenDocument
text) with the emblem report_template/emblem.svg; the office writes it as a
Word 97-2003 document. Run it after changing either file and commit the result:
    tools/make_report_template.py [soffice]
"""
import base64
import pathlib
import shutil
import subprocess
import sys
import tempfile

here = pathlib.Path(__file__).resolve().parent
root = here.parent
soffice = sys.argv[1] if len(sys.argv) > 1 else "soffice"

source = (here / "report_template" / "template.fodt.in").read_text(encoding="utf-8")
emblem = base64.b64encode((here / "report_template" / "emblem.svg").read_bytes()).decode("ascii")
if "@EMBLEM@" not in source:
    sys.exit("template.fodt.in lost its @EMBLEM@ placeholder")

with tempfile.TemporaryDirectory() as tmp:
    tmp = pathlib.Path(tmp)
    fodt = tmp / "report_template.fodt"
    fodt.write_text(source.replace("@EMBLEM@", emblem), encoding="utf-8")
    subprocess.run([soffice, "--headless", "--norestore", "--nolockcheck",
                    f"-env:UserInstallation=file://{tmp}/profile",
                    "--convert-to", "doc:MS Word 97", "--outdir", str(tmp), str(fodt)],
                   check=True, stdout=subprocess.DEVNULL, timeout=120)
    out = tmp / "report_template.doc"
    if not out.exists() or out.stat().st_size == 0:
        sys.exit("the office wrote no document")
    target = root / "resources" / "report_template.doc"
    shutil.copyfile(out, target)
    print(f"{target}: {target.stat().st_size} bytes")
