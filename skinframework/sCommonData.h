// Per-control skin settings stored in window descriptions. The painting state that a skinned
// control keeps comes with the skinning framework; until then the control only remembers
// which skin section it is bound to.
#pragma once
#include "toolkit/DescriptionReader.h"

namespace sk {

class TsCommonData {
public:
    explicit TsCommonData(int coc) : COC(coc) {}
    std::wstring SkinSection;
    int COC;  // control kind code
    // Takes the "SkinData.*" properties of a description; false for any other property.
    bool ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value);
};

}  // namespace sk
