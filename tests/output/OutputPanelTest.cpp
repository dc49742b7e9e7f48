// The output panels as real windows (filled in below).
#include <gtest/gtest.h>
