#pragma once

#include <QtGlobal>

#include <array>

namespace blowfish {
// The published initial P-array and S-boxes.
extern const std::array<quint32, 18> kInitialP;
extern const std::array<std::array<quint32, 256>, 4> kInitialS;
} // namespace blowfish
