#include "controls/sMemo.h"

namespace sk {

void TsMemo::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (!FSkinData.ReadProperty(reader, name, v)) tk::TMemo::SetProperty(reader, name, v);
}

}  // namespace sk
