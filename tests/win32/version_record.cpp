#include "version_record.h"

namespace karbelon::uitest {

std::wstring versionString(const std::vector<BYTE>& record, std::wstring_view block,
                           std::wstring_view field) {
    const std::wstring path =
        L"\\StringFileInfo\\" + std::wstring(block) + L"\\" + std::wstring(field);
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(record.data(), path.c_str(), &value, &length) == FALSE || length == 0) {
        return L"<missing>";
    }
    return static_cast<const wchar_t*>(value);
}

}  // namespace karbelon::uitest
