// Integer square root of a 64-bit value (floor), backed by a 65,536-entry table.
#pragma once

#include <cstdint>

std::uint32_t IntegerSquareRoot(std::uint64_t v);
