// The editor face's geometry, colours and ids, each named once. Client pixels of the editor
// window; rectangles are right and bottom exclusive. Portable: no windows.h.
#pragma once

#include "ControlConstants.h"
#include "PixelRect.h"
#include "ResourceIds.h"

#include <cstddef>
#include <cstdint>

inline constexpr const char* kEditorClassName = "Zembrac";
inline constexpr const char* kEditorTitle = "Zembrac";
inline constexpr std::int32_t kEditorWidth = 511;
inline constexpr std::int32_t kEditorHeight = 283;

// WM_USER + 5: starts a display tick.
inline constexpr std::uint32_t displayTickMessage = 0x0400 + 5;

// Timer ids 1..3 are also the display speeds Slow, Normal and Fast.
inline constexpr std::size_t kEditorTimerCount = 3;
inline constexpr std::uint32_t kEditorTimerPeriodsMs[kEditorTimerCount] = {166, 125, 100};

// Live editor windows the process keeps track of.
inline constexpr std::size_t kEditorWindowTableSize = 128;

// The wave image and its mask (123 columns: 0 stays empty, 1..122 hold the history) and the
// panel that composes the animated areas off screen.
inline constexpr PixelRect waveRect{0, 0, 123, 256};
inline constexpr std::int32_t kPanelWidth = 170;
inline constexpr std::int32_t kPanelHeight = 257;

// An animated area: where it lies in the panel and on the face (the background bitmap has the
// face's coordinates).
struct PanelStrip {
  std::int32_t panelX;
  std::int32_t faceX;
  std::int32_t faceY;
  std::int32_t width;
  std::int32_t height;
};
inline constexpr PanelStrip kWaveStrip{0, 175, 13, 122, 256};
inline constexpr PanelStrip kReductionStrip{122, 328, 13, 13, 257};
inline constexpr PanelStrip kOutputStrip{136, 460, 13, 31, 257};
inline constexpr PanelStrip kPanelStrips[] = {kWaveStrip, kReductionStrip, kOutputStrip};

inline constexpr PixelRect rmsRect{398, 14, 444, 28};

// editorFont: CreateFontA(14, 5, ...) with face "Arial", everything else 0.
inline constexpr std::int32_t kEditorFontHeight = 14;
inline constexpr std::int32_t kEditorFontWidth = 5;
inline constexpr const char* kEditorFontFace = "Arial";

// Shared pens and brushes.
inline constexpr Rgb kOutputPeakRed{200, 0, 0};
inline constexpr Rgb kOutputPeakGreen{0, 160, 0};
inline constexpr Rgb kReductionPeakColour{110, 131, 241};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRmsBackground{154, 172, 194};

struct FaderLayout {
  std::int32_t x;
  std::int32_t y;
  std::int32_t width;
  float min;
  float max;
  float length;
  std::int32_t handleBitmap;
  std::int32_t readoutX;
  std::int32_t readoutY;
  std::int32_t kind;
};

struct SliderLayout {
  std::int32_t x;
  std::int32_t y;
  std::int32_t breadth;
  float min;
  float max;
  float length;
  std::int32_t handleBitmap;
};

struct SwitchLayout {
  std::int32_t x;
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
  std::int32_t litBitmap;
};

inline constexpr FaderLayout kThrCompFaderLayout{
    35, 66, 20, 1.0f, 72.0f, 155.0f, IDB_HANDLE_GREEN, 14, 13, kReadoutCompThreshold};
inline constexpr FaderLayout kRatioFaderLayout{
    78, 66, 20, 2.0f, 60.0f, 155.0f, IDB_HANDLE_BLUE, 66, 13, kReadoutRatio};
inline constexpr FaderLayout kReleaseFaderLayout{
    127, 66, 20, 10.0f, 999.0f, 138.0f, IDB_HANDLE_BLUE, 118, 13, kReadoutRelease};
inline constexpr FaderLayout kAutoReleaseFaderLayout{
    127, 66, 20, 10.0f, 999.0f, 138.0f, IDB_HANDLE_GREY, 118, 13, kReadoutRelease};
inline constexpr SliderLayout kZoomSliderLayout{304, 221, 13, 1.0f, 20.0f, 41.0f, IDB_ZOOM_HANDLE};
inline constexpr FaderLayout kOutputFaderLayout{
    411, 103, 20, 0.0f, 24000.0f, 110.0f, IDB_HANDLE_BLUE, 398, 51, kReadoutOutput};
inline constexpr FaderLayout kThrLimFaderLayout{
    14, 66, 16, 0.0f, 48.0f, 93.0f, IDB_HANDLE_NARROW_RED, 14, 13, kReadoutLimThreshold};
inline constexpr SliderLayout kLookAheadSliderLayout{
    86, 256, 13, 3.0f, 999.0f, 57.0f, IDB_LOOKAHEAD_HANDLE};

inline constexpr SwitchLayout kSoftSwitchLayout{354, 118, 44, 21, IDB_SOFT_LIT};
inline constexpr SwitchLayout kNormalizeSwitchLayout{354, 144, 44, 21, IDB_NORMALIZE_LIT};
inline constexpr SwitchLayout kDitherSwitchLayout{354, 170, 44, 21, IDB_DITHER_LIT};
inline constexpr SwitchLayout kBypassSwitchLayout{354, 196, 44, 21, IDB_BYPASS_LIT};
inline constexpr SwitchLayout kAutoReleaseSwitchLayout{124, 223, 26, 14, IDB_AUTO_RELEASE_LIT};

// Numeric-entry boxes: EDIT windows placed over the read-out they edit. The formatting
// rectangle is twice the box's height so that Enter's line break fits.
inline constexpr std::int32_t kEntryWidth = 47;
inline constexpr std::int32_t kEntryHeight = 15;
inline constexpr PixelRect kEntryFormatRect{0, 0, 47, 30};
inline constexpr std::int32_t kEntryMargin = 1;
inline constexpr const char* kEntryInitialText = "---";
struct EntryPlace {
  std::int32_t x;
  std::int32_t y;
};
inline constexpr EntryPlace kOutputEntryPlace{397, 51};
inline constexpr EntryPlace kReleaseEntryPlace{118, 13};
inline constexpr EntryPlace kRatioEntryPlace{66, 13};
inline constexpr EntryPlace kThresholdEntryPlace{14, 13};
