#include "controls/acAlphaImgList.h"

#include <shellapi.h>

#include "toolkit/DescriptionReader.h"

namespace sk {

HIMAGELIST SystemSmallImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

HIMAGELIST TsAlphaImageList::Handle() const { return ShareImages ? SystemSmallImageList() : nullptr; }

void TsAlphaImageList::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "ShareImages") ShareImages = reader.Bool(v);
    else tk::TComponent::SetProperty(reader, name, v);
}

}  // namespace sk
