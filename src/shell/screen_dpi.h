#pragma once

// The primary screen's scale in dots per inch (96 at 100 %), or 0 when the
// system will not say.
int PrimaryScreenDpi();
