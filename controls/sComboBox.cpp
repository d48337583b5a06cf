#include "controls/sComboBox.h"

namespace sk {

void TsComboBox::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "Alignment") {
        static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
        FAlignment = static_cast<tk::TAlignment>(reader.Enum(v, names));
    } else if (name == "VerticalAlignment") {
        static const std::vector<std::string> names = {"taAlignTop", "taAlignBottom", "taVerticalCenter"};
        FVerticalAlignmentTop = reader.Enum(v, names) == 0;
    } else tk::TComboBox::SetProperty(reader, name, v);
}

}  // namespace sk
