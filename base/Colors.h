// Colours as the program stores them: 0x00BBGGRR, or a system colour index flagged by the high byte.
#pragma once

#include <cstdint>

namespace nv {

using TColor = std::int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);
constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
constexpr TColor clGrayText = static_cast<TColor>(0xFF000011);
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000;

} // namespace nv
