#include "fitting_font.h"

#include <algorithm>
#include <string>

#include "control_ids.h"
#include "dpi.h"
#include "layout.h"
#include "wide_text.h"
#include "window/text_fit.h"

namespace karbelon::window::win32 {

namespace {

// Sizes are cell heights in pixels (a positive lfHeight): what a line of
// text takes, including the room above and below the letters.
// Below this cell height at 96 DPI text stops being readable at all.
constexpr int smallestCellHeightAt96 = 10;

class SelectedFont {
  public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    SelectedFont(SelectedFont&&) = delete;
    SelectedFont& operator=(SelectedFont&&) = delete;
    ~SelectedFont() { SelectObject(dc_, previous_); }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Measures on a hidden twin of the result box (same class, styles and
// size), so that lines break and stack exactly as they will in Text4.
class Win32TextFitMeasure final : public TextFitMeasure {
  public:
    Win32TextFitMeasure(HWND form1, UINT dpi, const LOGFONTW& systemFont)
        : dpi_(dpi), systemFont_(systemFont), dc_(GetDC(form1)), form1_(form1) {
        const HWND resultBox = GetDlgItem(form1, controlWindowId(ControlId::Text4));
        const PixelRect rect =
            clientPixelRect(controlSpec(ControlId::Text4), static_cast<int>(dpi));
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(resultBox, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(resultBox, GWL_EXSTYLE));
        resultTwin_ = CreateWindowExW(
            exStyle, L"EDIT", L"", style & ~DWORD{WS_VISIBLE | WS_TABSTOP | WS_GROUP}, rect.left,
            rect.top, rect.width, rect.height, form1, nullptr,
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(form1, GWLP_HINSTANCE)), nullptr);
        const HFONT system = CreateFontIndirectW(&systemFont_);
        systemCellHeight_ = cellHeight(system);
        DeleteObject(system);
    }
    Win32TextFitMeasure(const Win32TextFitMeasure&) = delete;
    Win32TextFitMeasure& operator=(const Win32TextFitMeasure&) = delete;
    Win32TextFitMeasure(Win32TextFitMeasure&&) = delete;
    Win32TextFitMeasure& operator=(Win32TextFitMeasure&&) = delete;
    ~Win32TextFitMeasure() override {
        if (resultTwin_ != nullptr) {
            DestroyWindow(resultTwin_);
        }
        if (cachedFont_ != nullptr) {
            DeleteObject(cachedFont_);
        }
        if (dc_ != nullptr) {
            ReleaseDC(form1_, dc_);
        }
    }

    // Without a device context or the twin nothing can be measured.
    [[nodiscard]] bool canMeasure() const {
        return dc_ != nullptr && resultTwin_ != nullptr && systemCellHeight_ > 0;
    }
    [[nodiscard]] int systemSize() const { return systemCellHeight_; }

    // The system's font itself at its own size, else its face at this cell height.
    [[nodiscard]] HFONT createFont(int size) const {
        LOGFONTW font = systemFont_;
        if (size != systemCellHeight_) {
            font.lfHeight = size;
            font.lfWidth = 0;
        }
        return CreateFontIndirectW(&font);
    }

    [[nodiscard]] bool reportFits(const std::string& report, int size) const override {
        const HFONT font = fontAt(size);
        if (font == nullptr) {
            return false;
        }
        SendMessageW(resultTwin_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowTextW(resultTwin_, toWide(report).c_str());
        const auto lines = static_cast<WPARAM>(std::count(report.begin(), report.end(), '\n') + 1);
        // More lines than the report has: one of them wrapped.
        if (static_cast<WPARAM>(SendMessageW(resultTwin_, EM_GETLINECOUNT, 0, 0)) != lines) {
            return false;
        }
        const LRESULT lastLineStart = SendMessageW(resultTwin_, EM_LINEINDEX, lines - 1, 0);
        if (lastLineStart < 0) {
            return false;
        }
        const LRESULT position =
            SendMessageW(resultTwin_, EM_POSFROMCHAR, static_cast<WPARAM>(lastLineStart), 0);
        if (position == -1) {
            return false;
        }
        const int lastLineTop = static_cast<short>(HIWORD(position));
        RECT client{};
        RECT formatting{};
        GetClientRect(resultTwin_, &client);
        SendMessageW(resultTwin_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatting));
        const LONG visibleBottom = std::min(client.bottom, formatting.bottom);
        return lastLineTop + cellHeight(font) <= visibleBottom;
    }

    [[nodiscard]] bool captionFits(const ControlSpec& control, int size) const override {
        const HFONT font = fontAt(size);
        if (font == nullptr) {
            return false;
        }
        const std::wstring caption = toWide(control.text);
        RECT extent{};
        {
            const SelectedFont selected(dc_, font);
            DrawTextW(dc_, caption.c_str(), static_cast<int>(caption.size()), &extent,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        }
        const PixelSize room = captionRoom(control, static_cast<int>(dpi_));
        return extent.right - extent.left <= room.width &&
               extent.bottom - extent.top <= room.height;
    }

  private:
    [[nodiscard]] int cellHeight(HFONT font) const {
        if (font == nullptr || dc_ == nullptr) {
            return 0;
        }
        const SelectedFont selected(dc_, font);
        TEXTMETRICW metrics{};
        return GetTextMetricsW(dc_, &metrics) != FALSE ? static_cast<int>(metrics.tmHeight) : 0;
    }

    // One candidate at a time: every check at a size asks for the same font.
    [[nodiscard]] HFONT fontAt(int size) const {
        if (cachedFont_ == nullptr || cachedSize_ != size) {
            if (resultTwin_ != nullptr) {
                SendMessageW(resultTwin_, WM_SETFONT, 0, FALSE);  // let go of the old one
            }
            if (cachedFont_ != nullptr) {
                DeleteObject(cachedFont_);
            }
            cachedFont_ = createFont(size);
            cachedSize_ = size;
        }
        return cachedFont_;
    }

    UINT dpi_;
    LOGFONTW systemFont_;
    HDC dc_;
    HWND form1_;
    HWND resultTwin_ = nullptr;
    int systemCellHeight_ = 0;
    mutable int cachedSize_ = 0;
    mutable HFONT cachedFont_ = nullptr;
};

}  // namespace

HFONT createFittingFont(HWND form1, UINT dpi, const NumberConventions& conventions) {
    const LOGFONTW systemFont = messageLogFont(dpi);
    const Win32TextFitMeasure measure(form1, dpi, systemFont);
    if (!measure.canMeasure()) {
        return CreateFontIndirectW(&systemFont);
    }
    const int smallest = MulDiv(smallestCellHeightAt96, static_cast<int>(dpi), 96);
    return measure.createFont(chooseTextSize(measure, conventions, measure.systemSize(), smallest));
}

}  // namespace karbelon::window::win32
