#pragma once

// Where a panel of size inner goes to stand centred in outer: (outer - inner) / 2, a half
// going to the even neighbour: rounding half to even leans neither up nor down, so over the
// sizes a panel takes it stands off centre to either side alike.
int centredOffset(int outer, int inner);
