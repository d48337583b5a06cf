#include "controls/sLabel.h"

#include "toolkit/DescriptionReader.h"
#include "toolkit/ShellOpen.h"

namespace sk {

void TsLabelFX::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "Angle") FAngle = reader.Int(v);
    else if (name == "Shadow.Mode") {
        static const std::vector<std::string> names = {"smNone", "smCustom", "smSkin1"};
        FShadow.Mode = static_cast<TsShadowMode>(reader.Enum(v, names));
    } else if (name == "Shadow.Color") FShadow.Color = reader.Color(v);
    else if (name == "Shadow.BlurCount") FShadow.BlurCount = reader.Int(v);
    else if (name == "Shadow.OffsetKeeper.LeftTop") FShadow.OffsetLeft = FShadow.OffsetTop = reader.Int(v);
    else if (name == "Shadow.OffsetKeeper.RightBottom") FShadow.OffsetRight = FShadow.OffsetBottom = reader.Int(v);
    else tk::TLabel::SetProperty(reader, name, v);
}

TsWebLabel::TsWebLabel(tk::TComponent* owner) : tk::TLabel(owner) {}

void TsWebLabel::Paint(tk::TCanvas& canvas) {
    // While the mouse is over the link it is drawn with the hover font.
    tk::TFont normal;
    normal.Assign(Font());
    if (MouseInside() && Enabled()) Font().Assign(FHoverFont);
    tk::TLabel::Paint(canvas);
    if (MouseInside() && Enabled()) Font().Assign(normal);
}

void TsWebLabel::Click() {
    tk::TLabel::Click();
    // As the signed-in user: the installer is elevated, the browser should not be.
    if (!FURL.empty()) tk::OpenAsDesktopUser(FURL);
}

void TsWebLabel::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "URL") FURL = reader.String(v);
    else if (name == "HoverFont.Name") FHoverFont.Name = reader.String(v);
    else if (name == "HoverFont.Height") FHoverFont.Height = reader.Int(v);
    else if (name == "HoverFont.Color") FHoverFont.Color = reader.Color(v);
    else if (name == "HoverFont.Style") FHoverFont.Style = reader.FontStyle(v);
    else if (name == "HoverFont.Charset") FHoverFont.Charset = reader.Charset(v);
    else tk::TLabel::SetProperty(reader, name, v);
}

}  // namespace sk
