#pragma once

#include <cstdint>

// What the module asks of karbelon.js, its host. Texts go out as a pointer
// into the module's memory and a length in bytes (UTF-8); a view or a
// measure is named by the number karbelon.js gave it.
#define KARBELON_HOST_IMPORT(name) __attribute__((import_module("karbelon"), import_name(name)))

extern "C" {

// Writes the control's text as UTF-8 into the exchange buffer (karbelon_buffer)
// and returns its length in bytes.
KARBELON_HOST_IMPORT("view_control_text")
std::uint32_t hostViewControlText(std::uint32_t view, const char* name, std::uint32_t nameSize);

KARBELON_HOST_IMPORT("view_set_control_text")
void hostViewSetControlText(std::uint32_t view, const char* name, std::uint32_t nameSize,
                            const char* text, std::uint32_t textSize);

KARBELON_HOST_IMPORT("view_append_spell_item")
void hostViewAppendSpellItem(std::uint32_t view, const char* text, std::uint32_t textSize);

KARBELON_HOST_IMPORT("view_show_error_message")
void hostViewShowErrorMessage(std::uint32_t view, const char* text, std::uint32_t textSize,
                              const char* caption, std::uint32_t captionSize);

KARBELON_HOST_IMPORT("view_unload")
void hostViewUnload(std::uint32_t view);

KARBELON_HOST_IMPORT("view_open_author_page")
void hostViewOpenAuthorPage(std::uint32_t view, const char* address, std::uint32_t addressSize);

// Non-zero when the text fits at this size.
KARBELON_HOST_IMPORT("measure_report_fits")
std::int32_t hostMeasureReportFits(std::uint32_t measure, const char* report,
                                   std::uint32_t reportSize, std::int32_t size);

KARBELON_HOST_IMPORT("measure_caption_fits")
std::int32_t hostMeasureCaptionFits(std::uint32_t measure, const char* name, std::uint32_t nameSize,
                                    std::int32_t size);
}
