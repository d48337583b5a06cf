#include "controls/sCheckBox.h"

namespace sk {

void TsCheckBox::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "ImgChecked") FImgChecked = reader.Int(v);
    else if (name == "ImgUnchecked") FImgUnchecked = reader.Int(v);
    else tk::TCheckBox::SetProperty(reader, name, v);
}

}  // namespace sk
