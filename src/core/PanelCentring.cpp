#include "core/PanelCentring.h"

int centredOffset(int outer, int inner)
{
    const int twice = outer - inner;
    const int down = twice >= 0 ? twice / 2 : -((-twice + 1) / 2); // floor of twice / 2
    if (twice % 2 == 0)
        return down;
    return down % 2 == 0 ? down : down + 1;
}
