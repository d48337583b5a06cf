#include "ModelJson.h"

#include "skin/acntUtils.h"

namespace skintool {

using nlohmann::ordered_json;

namespace {

std::string U8(const std::wstring& s) { return sk::NarrowForMessage(s); }

ordered_json RectJson(const rd::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

ordered_json FontJson(const sk::TsFontColor& f) {
    return {{"Color", f.Color}, {"Left", f.Left}, {"Top", f.Top}, {"Right", f.Right}, {"Bottom", f.Bottom}};
}

ordered_json GradientJson(const sk::TsGradArray& a) {
    ordered_json out = ordered_json::array();
    for (const auto& p : a)
        out.push_back({{"Color1", p.Color1}, {"Color2", p.Color2}, {"Percent", p.Percent}, {"Mode1", p.Mode1},
                       {"Mode2", p.Mode2}});
    return out;
}

ordered_json StateJson(const sk::TsGenState& s) {
    return {{"Color", s.Color},
            {"FontColor", FontJson(s.FontColor)},
            {"GradientPercent", s.GradientPercent},
            {"GradientData", U8(s.GradientData)},
            {"GradientArray", GradientJson(s.GradientArray)},
            {"ImagePercent", s.ImagePercent},
            {"TextureIndex", s.TextureIndex},
            {"GlowColor", s.GlowColor},
            {"GlowSize", s.GlowSize},
            {"Transparency", s.Transparency}};
}

ordered_json SectionJson(const sk::TsGeneralData& g) {
    return {{"ClassName", U8(g.ClassName)},
            {"ParentClass", U8(g.ParentClass)},
            {"States", g.States},
            {"Props", {StateJson(g.Props[0]), StateJson(g.Props[1])}},
            {"GiveOwnFont", g.GiveOwnFont},
            {"ReservedBoolean", g.ReservedBoolean},
            {"GlowCount", g.GlowCount},
            {"GlowMargin", g.GlowMargin},
            {"BorderIndex", g.BorderIndex},
            {"ImgTL", g.ImgTL},
            {"ImgTR", g.ImgTR},
            {"ImgBL", g.ImgBL},
            {"ImgBR", g.ImgBR},
            {"TextureNormal", g.TextureNormal},
            {"FadingEnabled", g.FadingEnabled},
            {"FadingIterations", g.FadingIterations},
            {"OuterMode", g.OuterMode},
            {"OuterOffset", RectJson(g.OuterOffset)},
            {"OuterMask", g.OuterMask},
            {"OuterOpacity", g.OuterOpacity}};
}

ordered_json MaskJson(const sk::TsMaskData& m) {
    ordered_json j = {{"ClassName", U8(m.ClassName)},
                      {"PropertyName", U8(m.PropertyName)},
                      {"R", RectJson(m.R)},
                      {"ImageCount", m.ImageCount},
                      {"MaskType", m.MaskType},
                      {"BorderWidth", m.BorderWidth},
                      {"DrawMode", m.DrawMode},
                      {"ImgType", static_cast<int>(m.ImgType)},
                      {"WL", m.WL},
                      {"WT", m.WT},
                      {"WR", m.WR},
                      {"WB", m.WB},
                      {"CornerType", m.CornerType}};
    j["Bmp"] = m.Bmp ? ordered_json{m.Bmp->Width, m.Bmp->Height} : ordered_json(nullptr);
    return j;
}

ordered_json OuterJson(const sk::TacOutEffData& o) {
    return {{"ColorL", o.ColorL},   {"ColorT", o.ColorT},   {"ColorR", o.ColorR},   {"ColorB", o.ColorB},
            {"OffsetL", o.OffsetL}, {"OffsetT", o.OffsetT}, {"OffsetR", o.OffsetR}, {"OffsetB", o.OffsetB},
            {"WidthL", o.WidthL},   {"WidthT", o.WidthT},   {"WidthR", o.WidthR},   {"WidthB", o.WidthB},
            {"Opacity", o.Opacity}, {"Source", o.Source},   {"Mask", o.Mask}};
}

ordered_json SkinDataJson(const sk::TsSkinData& d) {
    return {{"Active", d.Active},
            {"SkinPath", U8(d.SkinPath)},
            {"Version", d.Version},
            {"Author", U8(d.Author)},
            {"Description", U8(d.Description)},
            {"Shadow1Color", d.Shadow1Color},
            {"Shadow1Offset", d.Shadow1Offset},
            {"Shadow1Blur", d.Shadow1Blur},
            {"Shadow1Transparency", d.Shadow1Transparency},
            {"ExBorderWidth", d.ExBorderWidth},
            {"ExTitleHeight", d.ExTitleHeight},
            {"ExMaxHeight", d.ExMaxHeight},
            {"ExContentOffs", d.ExContentOffs},
            {"ExCenterOffs", d.ExCenterOffs},
            {"ExDrawMode", d.ExDrawMode},
            {"ExShadowOffs", d.ExShadowOffs},
            {"ExShadowOffsR", d.ExShadowOffsR},
            {"ExShadowOffsT", d.ExShadowOffsT},
            {"ExShadowOffsB", d.ExShadowOffsB},
            {"FXColor", d.FXColor},
            {"BISpacing", d.BISpacing},
            {"BIVAlign", d.BIVAlign},
            {"BIRightMargin", d.BIRightMargin},
            {"BILeftMargin", d.BILeftMargin},
            {"BITopMargin", d.BITopMargin},
            {"BIKeepHUE", d.BIKeepHUE},
            {"BICloseGlow", d.BICloseGlow},
            {"BICloseGlowMargin", d.BICloseGlowMargin},
            {"BIMaxGlow", d.BIMaxGlow},
            {"BIMaxGlowMargin", d.BIMaxGlowMargin},
            {"BIMinGlow", d.BIMinGlow},
            {"BIMinGlowMargin", d.BIMinGlowMargin},
            {"UseAeroBluring", d.UseAeroBluring},
            {"ComboBoxMargin", d.ComboBoxMargin},
            {"BrightMin", d.BrightMin},
            {"BrightMax", d.BrightMax},
            {"TabsCovering", d.TabsCovering},
            {"RibbonCovering", d.RibbonCovering}};
}

ordered_json ElementJson(const sk::TacConstElementData& e) {
    return {{"SkinSection", U8(e.SkinSection)}, {"SkinIndex", e.SkinIndex}, {"MaskIndex", e.MaskIndex},
            {"GlyphIndex", e.GlyphIndex},       {"BGIndex", {e.BGIndex[0], e.BGIndex[1]}}};
}

template <size_t N>
ordered_json ElementsJson(const std::array<sk::TacConstElementData, N>& list) {
    ordered_json out = ordered_json::array();
    for (const auto& e : list) out.push_back(ElementJson(e));
    return out;
}

ordered_json ConstJson(const sk::TConstantSkinData& c) {
    ordered_json sections = ordered_json::array();
    for (int s : c.Sections) sections.push_back(s);
    return {{"IndexGLobalInfo", c.IndexGLobalInfo},
            {"ExBorder", c.ExBorder},
            {"Tabs", ElementsJson(c.Tabs)},
            {"ScrollBtns", ElementsJson(c.ScrollBtns)},
            {"Scrolls", ElementsJson(c.Scrolls)},
            {"Sliders", ElementsJson(c.Sliders)},
            {"ComboBtn", ElementJson(c.ComboBtn)},
            {"MaskCloseBtn", c.MaskCloseBtn},
            {"MaskCloseAloneBtn", c.MaskCloseAloneBtn},
            {"MaskMaxBtn", c.MaskMaxBtn},
            {"MaskNormBtn", c.MaskNormBtn},
            {"MaskMinBtn", c.MaskMinBtn},
            {"MaskHelpBtn", c.MaskHelpBtn},
            {"MaskCloseSmall", c.MaskCloseSmall},
            {"MaskMaxSmall", c.MaskMaxSmall},
            {"MaskNormSmall", c.MaskNormSmall},
            {"MaskMinSmall", c.MaskMinSmall},
            {"MaskHelpSmall", c.MaskHelpSmall},
            {"CheckBoxChecked", c.CheckBoxChecked},
            {"CheckBoxUnChecked", c.CheckBoxUnChecked},
            {"CheckBoxGrayed", c.CheckBoxGrayed},
            {"RadioButtonChecked", c.RadioButtonChecked},
            {"RadioButtonUnChecked", c.RadioButtonUnChecked},
            {"RadioButtonGrayed", c.RadioButtonGrayed},
            {"SmallCheckBoxChecked", c.SmallCheckBoxChecked},
            {"SmallCheckBoxUnChecked", c.SmallCheckBoxUnChecked},
            {"SmallCheckBoxGrayed", c.SmallCheckBoxGrayed},
            {"GripRightBottom", c.GripRightBottom},
            {"GripHorizontal", c.GripHorizontal},
            {"GripVertical", c.GripVertical},
            {"Sections", sections}};
}

}  // namespace

ordered_json ModelToJson(const sk::TSkinModel& m) {
    ordered_json j;
    j["CommonSkinData"] = m.CommonSkinData ? SkinDataJson(*m.CommonSkinData) : ordered_json(nullptr);
    j["SkinIsPacked"] = m.SkinIsPacked;
    j["MasterBitmap"] = m.MasterBitmap ? ordered_json{m.MasterBitmap->Width, m.MasterBitmap->Height}
                                       : ordered_json(nullptr);
    j["gd"] = ordered_json::array();
    for (const auto& g : m.gd) j["gd"].push_back(SectionJson(g));
    j["ma"] = ordered_json::array();
    for (const auto& mask : m.ma) j["ma"].push_back(MaskJson(mask));
    j["pa"] = ordered_json::array();
    for (const auto& p : m.pa)
        j["pa"].push_back({{"ClassName", U8(p.ClassName)},
                           {"PropertyName", U8(p.PropertyName)},
                           {"Img", p.Img ? ordered_json{p.Img->Width, p.Img->Height} : ordered_json(nullptr)}});
    j["oe"] = ordered_json::array();
    for (const auto& o : m.oe) j["oe"].push_back(OuterJson(o));
    j["Palette"] = ordered_json::array();
    for (auto c : m.Palette) j["Palette"].push_back(c);
    j["ConstData"] = ConstJson(m.ConstData);
    return j;
}

ordered_json LoadModelJson(const TSkinRequest& request) { return ModelToJson(LoadSkin(request)->Model()); }

}  // namespace skintool
