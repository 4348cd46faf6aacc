// The editor's displays measure levels in 1/32768 of full scale, as 16-bit samples count.
#pragma once

inline constexpr float kFullScaleUnits = 32768.0f;
