#include "skinframework/sCommonData.h"

namespace sk {

bool TsCommonData::ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) {
    if (name == "SkinData.SkinSection") {
        SkinSection = reader.String(value);
        return true;
    }
    return false;
}

}  // namespace sk
