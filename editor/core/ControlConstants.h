// Geometry and colours the editor's bitmap controls share. Client pixels of the editor window.
#pragma once

#include <cstdint>

// A travelling control's handle, measured along its track: the handle image starts `lead`
// pixels before the value's pixel and is `span` pixels long. A point within `tolerance` of
// the value's pixel grabs the handle; fine-tuning clicks are taken up to `margin` pixels
// beyond either end of the track.
struct TrackGrip {
  std::int32_t lead;
  std::int32_t span;
  std::int32_t tolerance;
  float margin;
};

inline constexpr TrackGrip kFaderGrip{16, 34, 16, 15.0f};
inline constexpr TrackGrip kSliderGrip{11, 21, 9, 9.0f};

// The read-out box answers the mouse over kReadoutWidth x kReadoutHitHeight pixels; its text
// is centred between left + 1 (+ 2 for the Output kind) and left + 45, top + 1 and top + 14.
inline constexpr std::int32_t kReadoutWidth = 45;
inline constexpr std::int32_t kReadoutHitHeight = 15;
inline constexpr std::int32_t kReadoutTextInset = 1;
inline constexpr std::int32_t kReadoutOutputTextInset = 2;
inline constexpr std::int32_t kReadoutTextBottom = 14;
inline constexpr std::int32_t kReadoutTextCapacity = 16;

// Read-out kinds of FaderControl.
inline constexpr std::int32_t kReadoutCompThreshold = 1;
inline constexpr std::int32_t kReadoutRatio = 2;
inline constexpr std::int32_t kReadoutRelease = 3;
inline constexpr std::int32_t kReadoutOutput = 4;
inline constexpr std::int32_t kReadoutLimThreshold = 5;

// Steps of a fine-tuning click beside a handle.
inline constexpr float kFineStep = 1.0f;
inline constexpr float kOutputFineStep = 10.0f;
inline constexpr float kLookAheadFineStep = 20.0f;

struct Rgb {
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
  friend constexpr bool operator==(Rgb lhs, Rgb rhs) {
    return lhs.r == rhs.r && lhs.g == rhs.g && lhs.b == rhs.b;
  }
  friend constexpr bool operator!=(Rgb lhs, Rgb rhs) { return !(lhs == rhs); }
};

inline constexpr Rgb kReadoutWhite{255, 255, 255};
inline constexpr Rgb kReadoutLightBlue{204, 228, 255};
inline constexpr Rgb kReadoutLightRed{255, 187, 187};
