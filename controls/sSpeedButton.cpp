#include "controls/sSpeedButton.h"

namespace sk {

void TsSpeedButton::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (!FSkinData.ReadProperty(reader, name, v)) tk::TSpeedButton::SetProperty(reader, name, v);
}

}  // namespace sk
