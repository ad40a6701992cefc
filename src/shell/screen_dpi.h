#pragma once

// A length of `pixels` at 96 dpi (100 %), in the primary screen's own pixels
// at its current scale; unscaled when the system will not say the scale or
// says nonsense (beyond 20 times the usual).
int ScaledToPrimaryScreen(int pixels);
