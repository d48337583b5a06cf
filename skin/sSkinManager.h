// The skin manager component. It keeps its stored settings: the hue offset and the internal
// skins (name and packed data), and the name of the skin to use.
#pragma once
#include "toolkit/DescriptionReader.h"

namespace sk {

struct TsStoredSkin {
    std::wstring Name;
    std::vector<uint8_t> Data;
};

class TsSkinManager : public tk::TComponent {
public:
    explicit TsSkinManager(tk::TComponent* owner) : tk::TComponent(owner) {}
    int HueOffset() const { return FHueOffset; }
    int Saturation() const { return FSaturation; }
    int Brightness() const { return FBrightness; }
    const std::wstring& SkinName() const { return FSkinName; }
    const std::vector<TsStoredSkin>& InternalSkins() const { return FInternalSkins; }
    bool Active() const { return FActive; }
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    int FHueOffset = 0, FSaturation = 0, FBrightness = 0;
    bool FActive = true;
    std::wstring FSkinName, FSkinDirectory;
    std::vector<TsStoredSkin> FInternalSkins;
};

}  // namespace sk
