#include "controls/sButton.h"

namespace sk {

void TsButton::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (!FSkinData.ReadProperty(reader, name, v)) tk::TButton::SetProperty(reader, name, v);
}

}  // namespace sk
