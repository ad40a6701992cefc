#pragma once

// 0.2 * ln(re^2 + im^2 + 0.001), stored as a float: the orbit's log-magnitude.
// Thousands of these are taken when a crystal grows, inside one frame, and
// some C runtimes' log is slow; so a table and a short series are used, and
// std::log decides whenever their result lies too close to a float rounding
// boundary to be sure. The stored float is always the one std::log gives.
float OrbitLogMagnitude(float re, float im);
