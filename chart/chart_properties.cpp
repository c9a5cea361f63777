// The published properties of TChart, as window descriptions name them.
#include "chart.h"
#include "chart_props.h"

const EnumNames<TPenStyle> kPenStyleNames{{"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const EnumNames<TBrushStyle> kBrushStyleNames{{"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                               "bsBDiagonal", "bsCross", "bsDiagCross"}};
const EnumNames<TFontStyle> kChartFontStyleNames{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};

namespace {
const EnumNames<TPanelBevel> kBevelNames{{"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const EnumNames<TPanningMode> kPanningNames{{"pmNone", "pmHorizontal", "pmVertical", "pmBoth"}};
const EnumNames<TBackImageMode> kBackImageModeNames{{"pbmStretch", "pbmTile", "pbmCenter"}};
const EnumNames<TGradientDirection> kGradientNames{{"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft",
                                                    "gdFromCenter", "gdFromTopLeft", "gdFromBottomLeft"}};
const EnumNames<TChartAlignment> kAlignmentNames{{"taLeftJustify", "taRightJustify", "taCenter"}};
const EnumNames<TLegendAlignment> kLegendAlignmentNames{{"laLeft", "laRight", "laTop", "laBottom"}};
const EnumNames<TLegendStyle> kLegendStyleNames{{"lsAuto", "lsSeries", "lsValues", "lsLastValues"}};
const EnumNames<TLegendTextStyle> kLegendTextStyleNames{{"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent",
                                                         "ltsRightPercent", "ltsXValue"}};
const EnumNames<TAxisLabelStyle> kLabelStyleNames{{"talAuto", "talNone", "talValue", "talMark", "talText"}};

using C = TChart;

void AddPanel(PropertyBuilder<C>& b) {
    b.Bool("View3D", [](const C& c) { return c.View3D(); }, [](C& c, bool v) { c.SetView3D(v); }, true)
        .Int("Chart3DPercent", [](const C& c) { return c.Chart3DPercent(); }, [](C& c, int v) { c.SetChart3DPercent(v); }, 15)
        .Int("MarginLeft", [](const C& c) { return c.MarginLeft(); }, [](C& c, int v) { c.SetMarginLeft(v); }, 3)
        .Int("MarginTop", [](const C& c) { return c.MarginTop(); }, [](C& c, int v) { c.SetMarginTop(v); }, 4)
        .Int("MarginRight", [](const C& c) { return c.MarginRight(); }, [](C& c, int v) { c.SetMarginRight(v); }, 3)
        .Int("MarginBottom", [](const C& c) { return c.MarginBottom(); }, [](C& c, int v) { c.SetMarginBottom(v); }, 4)
        .Bool("Monochrome", [](const C& c) { return c.Monochrome(); }, [](C& c, bool v) { c.SetMonochrome(v); }, false)
        .Bool("PrintProportional", [](const C& c) { return c.PrintProportional(); },
              [](C& c, bool v) { c.SetPrintProportional(v); }, true)
        .Enum<TPanelBevel>("BevelOuter", kBevelNames, [](const C& c) { return c.BevelOuter(); },
                           [](C& c, TPanelBevel v) { c.SetBevelOuter(v); }, TPanelBevel::bvRaised)
        .Enum<TPanelBevel>("BevelInner", kBevelNames, [](const C& c) { return c.BevelInner(); },
                           [](C& c, TPanelBevel v) { c.SetBevelInner(v); }, TPanelBevel::bvNone)
        .Int("BevelWidth", [](const C& c) { return c.BevelWidth(); }, [](C& c, int v) { c.SetBevelWidth(v); }, 1)
        .Int("BorderWidth", [](const C& c) { return c.BorderWidth(); }, [](C& c, int v) { c.SetBorderWidth(v); }, 0);

    auto view = [&b](const char* name, auto field, std::optional<int> def) {
        b.Int(QStringLiteral("View3DOptions.") + QLatin1String(name), [field](const C& c) { return c.View3DOptions().*field; },
              [field](C& c, int v) {
                  TView3DOptions o = c.View3DOptions();
                  o.*field = v;
                  c.SetView3DOptions(o);
              }, def);
    };
    view("Elevation", &TView3DOptions::elevation, 345);
    view("Rotation", &TView3DOptions::rotation, 345);
    view("Perspective", &TView3DOptions::perspective, 15);
    view("Zoom", &TView3DOptions::zoom, 100);
    view("HorizOffset", &TView3DOptions::horizOffset, 0);
    view("VertOffset", &TView3DOptions::vertOffset, 0);
    view("Tilt", &TView3DOptions::tilt, 0);
    b.Bool("View3DOptions.Orthogonal", [](const C& c) { return c.View3DOptions().orthogonal; },
           [](C& c, bool v) { auto o = c.View3DOptions(); o.orthogonal = v; c.SetView3DOptions(o); }, true)
        .Bool("View3DOptions.ZoomText", [](const C& c) { return c.View3DOptions().zoomText; },
              [](C& c, bool v) { auto o = c.View3DOptions(); o.zoomText = v; c.SetView3DOptions(o); }, true);

    b.Bool("Gradient.Visible", [](const C& c) { return c.Gradient.Visible(); }, [](C& c, bool v) { c.Gradient.SetVisible(v); }, false)
        .Enum<TGradientDirection>("Gradient.Direction", kGradientNames, [](const C& c) { return c.Gradient.Direction(); },
                                  [](C& c, TGradientDirection v) { c.Gradient.SetDirection(v); }, TGradientDirection::gdTopBottom)
        .Color("Gradient.StartColor", [](const C& c) { return c.Gradient.StartColor(); },
               [](C& c, TColor v) { c.Gradient.SetStartColor(v); }, clWhite)
        .Color("Gradient.EndColor", [](const C& c) { return c.Gradient.EndColor(); },
               [](C& c, TColor v) { c.Gradient.SetEndColor(v); }, clYellow)
        .Enum<TBackImageMode>("BackImageMode", kBackImageModeNames, [](const C& c) { return c.BackImageMode(); },
                              [](C& c, TBackImageMode v) { c.SetBackImageMode(v); }, TBackImageMode::pbmStretch)
        .Bool("AllowZoom", [](const C& c) { return c.AllowZoom(); }, [](C& c, bool v) { c.SetAllowZoom(v); }, true)
        .Enum<TPanningMode>("AllowPanning", kPanningNames, [](const C& c) { return c.AllowPanning(); },
                            [](C& c, TPanningMode v) { c.SetAllowPanning(v); }, TPanningMode::pmBoth)
        .Bool("AnimatedZoom", [](const C& c) { return c.AnimatedZoom(); }, [](C& c, bool v) { c.SetAnimatedZoom(v); }, false)
        .Int("AnimatedZoomSteps", [](const C& c) { return c.AnimatedZoomSteps(); },
             [](C& c, int v) { c.SetAnimatedZoomSteps(v); }, 8)
        .Bool("AxisVisible", [](const C& c) { return c.AxisVisible(); }, [](C& c, bool v) { c.SetAxisVisible(v); }, true)
        .Bool("View3DWalls", [](const C& c) { return c.View3DWalls(); }, [](C& c, bool v) { c.SetView3DWalls(v); }, true)
        .Bool("ClipPoints", [](const C& c) { return c.ClipPoints(); }, [](C& c, bool v) { c.SetClipPoints(v); }, true)
        .Int("MaxPointsPerPage", [](const C& c) { return c.MaxPointsPerPage(); },
             [](C& c, int v) { c.SetMaxPointsPerPage(v); }, 0)
        .Int("Page", [](const C& c) { return c.Page(); }, [](C& c, int v) { c.SetPage(v); }, 1)
        .Bool("ScaleLastPage", [](const C& c) { return c.ScaleLastPage(); }, [](C& c, bool v) { c.SetScaleLastPage(v); }, true)
        .Color("BackColor", [](const C& c) { return c.BackColor(); }, [](C& c, TColor v) { c.SetBackColor(v); }, DefaultColor)
        .Bool("BackImageInside", [](const C& c) { return c.BackImageInside(); },
              [](C& c, bool v) { c.SetBackImageInside(v); }, false);
    chart_props::Pen(b, "Frame", CHART_PART(C, BackWall.Pen));
}

template <class F>
void AddTitle(PropertyBuilder<C>& b, const QString& p, F part) {
    b.Strings(p + ".Text.Strings", [part](const C& c) { return part(c).Text(); },
              [part](C& c, const QStringList& v) { part(c).SetText(v); })
        .Bool(p + ".Visible", [part](const C& c) { return part(c).Visible(); }, [part](C& c, bool v) { part(c).SetVisible(v); }, true)
        .template Enum<TChartAlignment>(p + ".Alignment", kAlignmentNames, [part](const C& c) { return part(c).Alignment(); },
                          [part](C& c, TChartAlignment v) { part(c).SetAlignment(v); }, TChartAlignment::taCenter)
        .Bool(p + ".AdjustFrame", [part](const C& c) { return part(c).AdjustFrame(); },
              [part](C& c, bool v) { part(c).SetAdjustFrame(v); }, true)
        .Color(p + ".Color", [part](const C& c) { return part(c).Color(); }, [part](C& c, TColor v) { part(c).SetColor(v); },
               DefaultColor);
    chart_props::Font(b, p + ".Font", [part](const C& c) -> TChartFont& { return part(c).Font; });
    chart_props::Pen(b, p + ".Frame", [part](const C& c) -> TChartPen& { return part(c).Frame; });
    chart_props::Brush(b, p + ".Brush", [part](const C& c) -> TChartBrush& { return part(c).Brush; });
}

void AddLegend(PropertyBuilder<C>& b) {
    b.Bool("Legend.Visible", [](const C& c) { return c.Legend.Visible(); }, [](C& c, bool v) { c.Legend.SetVisible(v); }, true)
        .Enum<TLegendAlignment>("Legend.Alignment", kLegendAlignmentNames, [](const C& c) { return c.Legend.Alignment(); },
                                [](C& c, TLegendAlignment v) { c.Legend.SetAlignment(v); }, TLegendAlignment::laRight)
        .Enum<TLegendStyle>("Legend.LegendStyle", kLegendStyleNames, [](const C& c) { return c.Legend.LegendStyle(); },
                            [](C& c, TLegendStyle v) { c.Legend.SetLegendStyle(v); }, TLegendStyle::lsAuto)
        .Enum<TLegendTextStyle>("Legend.TextStyle", kLegendTextStyleNames, [](const C& c) { return c.Legend.TextStyle(); },
                                [](C& c, TLegendTextStyle v) { c.Legend.SetTextStyle(v); }, TLegendTextStyle::ltsLeftValue)
        .Color("Legend.Color", [](const C& c) { return c.Legend.Color(); }, [](C& c, TColor v) { c.Legend.SetColor(v); }, clWhite)
        .Int("Legend.ColorWidth", [](const C& c) { return c.Legend.ColorWidth(); }, [](C& c, int v) { c.Legend.SetColorWidth(v); }, 12)
        .Int("Legend.TopPos", [](const C& c) { return c.Legend.TopPos(); }, [](C& c, int v) { c.Legend.SetTopPos(v); }, 10)
        .Int("Legend.MaxNumRows", [](const C& c) { return c.Legend.MaxNumRows(); }, [](C& c, int v) { c.Legend.SetMaxNumRows(v); }, 10)
        .Bool("Legend.ResizeChart", [](const C& c) { return c.Legend.ResizeChart(); },
              [](C& c, bool v) { c.Legend.SetResizeChart(v); }, true)
        .Color("Legend.ShadowColor", [](const C& c) { return c.Legend.ShadowColor(); },
               [](C& c, TColor v) { c.Legend.SetShadowColor(v); }, clBlack)
        .Int("Legend.ShadowSize", [](const C& c) { return c.Legend.ShadowSize(); }, [](C& c, int v) { c.Legend.SetShadowSize(v); }, 3)
        .Int("Legend.HorizMargin", [](const C& c) { return c.Legend.HorizMargin(); },
             [](C& c, int v) { c.Legend.SetHorizMargin(v); }, 0)
        .Int("Legend.VertMargin", [](const C& c) { return c.Legend.VertMargin(); }, [](C& c, int v) { c.Legend.SetVertMargin(v); }, 0)
        .Int("Legend.FirstValue", [](const C& c) { return c.Legend.FirstValue(); }, [](C& c, int v) { c.Legend.SetFirstValue(v); }, 0)
        .Bool("Legend.Inverted", [](const C& c) { return c.Legend.Inverted(); }, [](C& c, bool v) { c.Legend.SetInverted(v); }, false);
    chart_props::Font(b, "Legend.Font", CHART_PART(C, Legend.Font));
    chart_props::Pen(b, "Legend.Frame", CHART_PART(C, Legend.Frame));
    chart_props::Pen(b, "Legend.DividingLines", CHART_PART(C, Legend.DividingLines));
    chart_props::Brush(b, "Legend.Brush", CHART_PART(C, Legend.Brush));
}

template <class F>
void AddWall(PropertyBuilder<C>& b, const QString& p, F part) {
    b.Color(p + ".Color", [part](const C& c) { return part(c).Color(); }, [part](C& c, TColor v) { part(c).SetColor(v); })
        .Bool(p + ".Dark3D", [part](const C& c) { return part(c).Dark3D(); }, [part](C& c, bool v) { part(c).SetDark3D(v); }, true)
        .Int(p + ".Size", [part](const C& c) { return part(c).Size(); }, [part](C& c, int v) { part(c).SetSize(v); }, 0);
    chart_props::Pen(b, p + ".Pen", [part](const C& c) -> TChartPen& { return part(c).Pen; });
    chart_props::Brush(b, p + ".Brush", [part](const C& c) -> TChartBrush& { return part(c).Brush; });
}

template <class F>
void AddAxis(PropertyBuilder<C>& b, const QString& p, F part) {
    auto flag = [&](const char* n, bool (TCustomChartAxis::*g)() const, void (TCustomChartAxis::*s)(bool), std::optional<bool> def) {
        b.Bool(p + QLatin1Char('.') + QLatin1String(n), [part, g](const C& c) { return (part(c).*g)(); },
               [part, s](C& c, bool v) { (part(c).*s)(v); }, def);
    };
    auto number = [&](const char* n, int (TCustomChartAxis::*g)() const, void (TCustomChartAxis::*s)(int), std::optional<int> def) {
        b.Int(p + QLatin1Char('.') + QLatin1String(n), [part, g](const C& c) { return (part(c).*g)(); },
              [part, s](C& c, int v) { (part(c).*s)(v); }, def);
    };
    auto real = [&](const char* n, double (TCustomChartAxis::*g)() const, void (TCustomChartAxis::*s)(double), std::optional<double> def) {
        b.Float(p + QLatin1Char('.') + QLatin1String(n), [part, g](const C& c) { return (part(c).*g)(); },
                [part, s](C& c, double v) { (part(c).*s)(v); }, def);
    };
    flag("Automatic", &TCustomChartAxis::Automatic, &TCustomChartAxis::SetAutomatic, true);
    flag("AutomaticMaximum", &TCustomChartAxis::AutomaticMaximum, &TCustomChartAxis::SetAutomaticMaximum, true);
    flag("AutomaticMinimum", &TCustomChartAxis::AutomaticMinimum, &TCustomChartAxis::SetAutomaticMinimum, true);
    real("Minimum", &TCustomChartAxis::Minimum, &TCustomChartAxis::SetMinimum, 0.0);
    real("Maximum", &TCustomChartAxis::Maximum, &TCustomChartAxis::SetMaximum, 0.0);
    real("Increment", &TCustomChartAxis::Increment, &TCustomChartAxis::SetIncrement, 0.0);
    flag("Logarithmic", &TCustomChartAxis::Logarithmic, &TCustomChartAxis::SetLogarithmic, false);
    real("LogarithmicBase", &TCustomChartAxis::LogarithmicBase, &TCustomChartAxis::SetLogarithmicBase, 10.0);
    flag("Inverted", &TCustomChartAxis::Inverted, &TCustomChartAxis::SetInverted, false);
    flag("Labels", &TCustomChartAxis::Labels, &TCustomChartAxis::SetLabels, true);
    b.template Enum<TAxisLabelStyle>(p + ".LabelStyle", kLabelStyleNames, [part](const C& c) { return part(c).LabelStyle(); },
                            [part](C& c, TAxisLabelStyle v) { part(c).SetLabelStyle(v); }, TAxisLabelStyle::talAuto);
    number("LabelsAngle", &TCustomChartAxis::LabelsAngle, &TCustomChartAxis::SetLabelsAngle, 0);
    number("LabelsSeparation", &TCustomChartAxis::LabelsSeparation, &TCustomChartAxis::SetLabelsSeparation, 10);
    number("LabelsSize", &TCustomChartAxis::LabelsSize, &TCustomChartAxis::SetLabelsSize, 0);
    flag("LabelsOnAxis", &TCustomChartAxis::LabelsOnAxis, &TCustomChartAxis::SetLabelsOnAxis, true);
    flag("LabelsMultiLine", &TCustomChartAxis::LabelsMultiLine, &TCustomChartAxis::SetLabelsMultiLine, false);
    b.Str(p + ".AxisValuesFormat", [part](const C& c) { return part(c).AxisValuesFormat(); },
          [part](C& c, const QString& v) { part(c).SetAxisValuesFormat(v); }, QStringLiteral("#,##0.###"))
        .Str(p + ".DateTimeFormat", [part](const C& c) { return part(c).DateTimeFormat(); },
             [part](C& c, const QString& v) { part(c).SetDateTimeFormat(v); }, QString());
    flag("ExactDateTime", &TCustomChartAxis::ExactDateTime, &TCustomChartAxis::SetExactDateTime, true);
    flag("RoundFirstLabel", &TCustomChartAxis::RoundFirstLabel, &TCustomChartAxis::SetRoundFirstLabel, true);
    number("TickLength", &TCustomChartAxis::TickLength, &TCustomChartAxis::SetTickLength, 4);
    number("TickInnerLength", &TCustomChartAxis::TickInnerLength, &TCustomChartAxis::SetTickInnerLength, 0);
    number("MinorTickCount", &TCustomChartAxis::MinorTickCount, &TCustomChartAxis::SetMinorTickCount, 3);
    number("MinorTickLength", &TCustomChartAxis::MinorTickLength, &TCustomChartAxis::SetMinorTickLength, 2);
    flag("TickOnLabelsOnly", &TCustomChartAxis::TickOnLabelsOnly, &TCustomChartAxis::SetTickOnLabelsOnly, true);
    flag("GridCentered", &TCustomChartAxis::GridCentered, &TCustomChartAxis::SetGridCentered, false);
    number("TitleSize", &TCustomChartAxis::TitleSize, &TCustomChartAxis::SetTitleSize, 0);
    number("StartPosition", &TCustomChartAxis::StartPosition, &TCustomChartAxis::SetStartPosition, 0);
    number("EndPosition", &TCustomChartAxis::EndPosition, &TCustomChartAxis::SetEndPosition, 100);
    number("PositionPercent", &TCustomChartAxis::PositionPercent, &TCustomChartAxis::SetPositionPercent, 0);
    flag("Visible", &TCustomChartAxis::Visible, &TCustomChartAxis::SetVisible, std::nullopt);
    b.Str(p + ".Title.Caption", [part](const C& c) { return part(c).Title.Caption(); },
          [part](C& c, const QString& v) { part(c).Title.SetCaption(v); }, QString())
        .Int(p + ".Title.Angle", [part](const C& c) { return part(c).Title.Angle(); },
             [part](C& c, int v) { part(c).Title.SetAngle(v); });
    chart_props::Font(b, p + ".Title.Font", [part](const C& c) -> TChartFont& { return part(c).Title.Font; });
    chart_props::Font(b, p + ".LabelsFont", [part](const C& c) -> TChartFont& { return part(c).LabelsFont; });
    chart_props::Pen(b, p + ".Axis", [part](const C& c) -> TChartPen& { return part(c).Axis; });
    chart_props::Pen(b, p + ".Grid", [part](const C& c) -> TChartPen& { return part(c).Grid; });
    chart_props::Pen(b, p + ".Ticks", [part](const C& c) -> TChartPen& { return part(c).Ticks; });
    chart_props::Pen(b, p + ".TicksInner", [part](const C& c) -> TChartPen& { return part(c).TicksInner; });
    chart_props::Pen(b, p + ".MinorTicks", [part](const C& c) -> TChartPen& { return part(c).MinorTicks; });
    chart_props::Pen(b, p + ".MinorGrid", [part](const C& c) -> TChartPen& { return part(c).MinorGrid; });
}
}  // namespace

const PropertyTable& TChart::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<C> b(t);
        AddPanel(b);
        AddTitle(b, QStringLiteral("Title"), CHART_PART(C, Title));
        AddTitle(b, QStringLiteral("Foot"), CHART_PART(C, Foot));
        AddLegend(b);
        AddWall(b, QStringLiteral("BackWall"), CHART_PART(C, BackWall));
        AddWall(b, QStringLiteral("LeftWall"), CHART_PART(C, LeftWall));
        AddWall(b, QStringLiteral("BottomWall"), CHART_PART(C, BottomWall));
        AddAxis(b, QStringLiteral("LeftAxis"), CHART_PART(C, LeftAxis));
        AddAxis(b, QStringLiteral("TopAxis"), CHART_PART(C, TopAxis));
        AddAxis(b, QStringLiteral("RightAxis"), CHART_PART(C, RightAxis));
        AddAxis(b, QStringLiteral("BottomAxis"), CHART_PART(C, BottomAxis));
        AddAxis(b, QStringLiteral("DepthAxis"), CHART_PART(C, DepthAxis));
        return t;
    }();
    return table;
}
