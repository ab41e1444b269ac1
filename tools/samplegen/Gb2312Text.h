// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace inkvale::samplegen {

/// The text in GB2312 (EUC-CN: ASCII as it is, each Chinese character as two bytes from 0xA1
/// up), as Chinese garment CAD writes its labels, converted with the C library's iconv.
/// Returns false when iconv has no GB2312 converter or the text has a character outside it.
bool ToGb2312(const std::string& strUtf8, std::string& strGb);

} // namespace inkvale::samplegen
