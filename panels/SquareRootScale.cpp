#include "panels/SquareRootScale.h"

#include <climits>
#include <cmath>

namespace SquareRootScale {

int PositionOf(int value)
{
    if (value <= 0)
        return 0;
    return static_cast<int>(std::sqrt(static_cast<double>(value)) * 1000.0 + 0.5);
}

int ValueOf(int position)
{
    const double root = position * 0.001;
    const double value = root * root + 0.5;
    return value >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

}  // namespace SquareRootScale
