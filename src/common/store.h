#pragma once

// Every formula runs in double; this is where a result is stored as a float,
// and later formulas read the rounded value back.
inline float Store(double value) { return static_cast<float>(value); }
