#include "skin/sSkinManager.h"

namespace sk {

void TsSkinManager::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "HueOffset") FHueOffset = reader.Int(v);
    else if (name == "Saturation") FSaturation = reader.Int(v);
    else if (name == "Brightness") FBrightness = reader.Int(v);
    else if (name == "Active") FActive = reader.Bool(v);
    else if (name == "SkinName") FSkinName = reader.String(v);
    else if (name == "SkinDirectory") FSkinDirectory = reader.String(v);
    else if (name == "InternalSkins") {
        FInternalSkins.clear();
        for (const auto& item : reader.Collection(v)) {
            TsStoredSkin skin;
            for (const auto& [key, value] : item) {
                if (key == "Name") skin.Name = reader.String(value);
                else if (key == "Data") skin.Data = reader.Binary(value);
                else reader.UnknownProperty("InternalSkins." + key);
            }
            FInternalSkins.push_back(std::move(skin));
        }
    } else tk::TComponent::SetProperty(reader, name, v);
}

}  // namespace sk
