// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class QImage;
class QWidget;

namespace inkvale {

class CDlgPrompts;

/// An uncompressed 16-bit (5-5-5) BMP of the image: 14-byte file header, 40-byte info
/// header, bottom-up rows padded to 4 bytes.
std::vector<uint8_t> EncodeBmp16(const QImage& image);

/// The screenshot's file name (without folder) for the local time tm.
std::string ScreenshotFileName(int nLanguage, const std::tm& tm);

/// Writes the widget as it looks now into strFolder ("" = the user's desktop) and shows
/// the note with the full name, or "Create File Error!". Returns the name, "" on failure.
std::string SaveDialogScreenshot(QWidget& widget, int nLanguage, const std::string& strFolder,
                                 CDlgPrompts& prompts);

} // namespace inkvale
