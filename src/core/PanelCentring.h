#pragma once

// Where a panel of size inner goes to stand centred in outer: (outer - inner) / 2, a half
// going to the even neighbour, as the window layout always rounded it.
int centredOffset(int outer, int inner);
