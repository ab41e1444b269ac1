// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gb2312Text.h"

#include <iconv.h>

#include <vector>

namespace inkvale::samplegen {

bool ToGb2312(const std::string& strUtf8, std::string& strGb) {
    iconv_t conv = iconv_open("GB2312", "UTF-8");
    if (conv == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in = strUtf8;
    std::vector<char> out(in.size() * 2 + 8);
    char* pIn = in.data();
    size_t nIn = in.size();
    char* pOut = out.data();
    size_t nOut = out.size();
    const size_t n = iconv(conv, &pIn, &nIn, &pOut, &nOut);
    iconv_close(conv);
    if (n == static_cast<size_t>(-1) || nIn != 0)
        return false;
    strGb.assign(out.data(), static_cast<size_t>(pOut - out.data()));
    return true;
}

} // namespace inkvale::samplegen
