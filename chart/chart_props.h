#pragma once
// Property-table entries for the parts every chart class nests (pens,
// brushes, fonts, value lists), under a dotted prefix ("Title.Frame").
#include "chart_parts.h"
#include "component.h"

// An accessor from a const component to one of its parts.
#define CHART_PART(T, member) [](const T& o) -> auto& { return const_cast<T&>(o).member; }

extern const EnumNames<TPenStyle> kPenStyleNames;
extern const EnumNames<TBrushStyle> kBrushStyleNames;
extern const EnumNames<TFontStyle> kChartFontStyleNames;

namespace chart_props {

template <class T, class F>
void Pen(PropertyBuilder<T>& b, const QString& prefix, F part) {
    b.Color(prefix + ".Color", [part](const T& o) { return part(o).Color(); }, [part](T& o, TColor v) { part(o).SetColor(v); })
        .Int(prefix + ".Width", [part](const T& o) { return part(o).Width(); }, [part](T& o, int v) { part(o).SetWidth(v); })
        .template Enum<TPenStyle>(prefix + ".Style", kPenStyleNames, [part](const T& o) { return part(o).Style(); },
                                  [part](T& o, TPenStyle v) { part(o).SetStyle(v); })
        .Bool(prefix + ".Visible", [part](const T& o) { return part(o).Visible(); }, [part](T& o, bool v) { part(o).SetVisible(v); });
}

template <class T, class F>
void Brush(PropertyBuilder<T>& b, const QString& prefix, F part) {
    b.Color(prefix + ".Color", [part](const T& o) { return part(o).Color(); }, [part](T& o, TColor v) { part(o).SetColor(v); })
        .template Enum<TBrushStyle>(prefix + ".Style", kBrushStyleNames, [part](const T& o) { return part(o).Style(); },
                                    [part](T& o, TBrushStyle v) { part(o).SetStyle(v); });
}

template <class T, class F>
void Font(PropertyBuilder<T>& b, const QString& prefix, F part) {
    auto edit = [part](T& o, auto change) {
        TFontSpec f = part(o).Settings();
        change(f);
        part(o).SetSpec(f);
    };
    b.Str(prefix + ".Name", [part](const T& o) { return part(o).Settings().name; },
          [edit](T& o, const QString& v) { edit(o, [&](TFontSpec& f) { f.name = v; }); })
        .Int(prefix + ".Height", [part](const T& o) { return part(o).Settings().height; },
             [edit](T& o, int v) { edit(o, [&](TFontSpec& f) { f.height = v; }); })
        .Color(prefix + ".Color", [part](const T& o) { return part(o).Settings().color; },
               [edit](T& o, TColor v) { edit(o, [&](TFontSpec& f) { f.color = v; }); })
        .template SetOf<TFontStyle>(prefix + ".Style", kChartFontStyleNames, [part](const T& o) { return part(o).Settings().style; },
                                    [edit](T& o, unsigned v) { edit(o, [&](TFontSpec& f) { f.style = v; }); })
        .Add(prefix + ".Charset", [part](const T& o) { return PropValue::Int(part(o).Settings().charset); },
             [edit](T& o, const PropValue& v) {
                 const int cs = v.kind == PropValue::Kind::Int ? int(v.i) : 1;
                 edit(o, [&](TFontSpec& f) { f.charset = cs; });
             }, std::nullopt);
}

}  // namespace chart_props
