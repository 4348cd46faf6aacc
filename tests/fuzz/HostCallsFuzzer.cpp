// Plays an arbitrary sequence of host calls against a fresh instance, loaded through
// VSTPluginMain as a host loads it. Besides crashes and sanitizer reports it stops on the
// plug-in's own promises: finite output for finite input, host texts terminated within their
// limits and nothing written past them, and gains within 0..1.
#include "ADelay.h"
#include "FeedValues.h"
#include "HostText.h"
#include "RecordingHost.h"
#include "VstAbi.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster) noexcept;

namespace {

constexpr std::size_t kBufferSize = 512;
constexpr std::int32_t kMaxBlock = 8192;
// Frames one input may process in all, so that each input runs in milliseconds.
constexpr std::int64_t kFrameBudget = 1 << 15;

// ZEMBRAC_FUZZ_TRACE=1 prints every call, for reading a finding.
const bool kTrace = std::getenv("ZEMBRAC_FUZZ_TRACE") != nullptr;

[[noreturn]] void fail(const char* what, long a = 0, long b = 0) {
  std::fprintf(stderr, "zembrac fuzz: %s (%ld, %ld)\n", what, a, b);
  std::abort();
}

// The most bytes, zero included, each text request may write.
std::size_t textLimit(VstInt32 opcode) {
  switch (opcode) {
  case effGetProgramName:
  case effGetProgramNameIndexed:
    return kVstMaxProgNameLen;
  case effGetParamLabel:
  case effGetParamDisplay:
  case effGetParamName:
    return kParamTextCapacity;
  case effGetEffectName:
    return kVstMaxEffectNameLen;
  case effGetVendorString:
    return kVstMaxVendorStrLen;
  case effGetProductString:
    return kVstMaxProductStrLen;
  default:
    return 0;
  }
}

float anyFloat(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 9)) {
  case 0:
    return std::numeric_limits<float>::quiet_NaN();
  case 1:
    return in.ConsumeBool() ? INFINITY : -INFINITY;
  case 2:
    return -0.0f;
  case 3:
    return std::numeric_limits<float>::denorm_min() *
           static_cast<float>(in.ConsumeIntegral<std::uint8_t>());
  case 4:
    return in.ConsumeBool() ? 3.4e38f : -3.4e38f;
  case 5: {
    const auto bits = in.ConsumeIntegral<std::uint32_t>();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  case 6:
    return static_cast<float>(in.ConsumeIntegralInRange(-40, 100000));
  default:
    return in.ConsumeFloatingPointInRange(-2.0f, 2.0f);
  }
}

VstInt32 anyIndex(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<VstInt32>(-2, 15)
                          : in.ConsumeIntegral<VstInt32>();
}

class Session {
public:
  explicit Session(FuzzedDataProvider& in) : in_(in) {
    RecordingHost::instance().clear();
    effect_ = VSTPluginMain(RecordingHost::callback);
    if (effect_ == nullptr) {
      fail("VSTPluginMain gave no record");
    }
    fx_ = static_cast<ADelay*>(static_cast<AudioEffect*>(effect_->object));
    dispatch(effOpen, 0, 0, nullptr, 0.0f);
  }
  ~Session() {
    if (dispatch(effClose, 0, 0, nullptr, 0.0f) != 1) {
      fail("effClose did not answer 1");
    }
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void step() {
    switch (in_.ConsumeIntegralInRange(0, 7)) {
    case 0:
    case 1:
      request();
      break;
    case 2: {
      const VstInt32 index = anyIndex(in_);
      const float value = anyFloat(in_);
      if (kTrace) {
        std::fprintf(stderr, "setParameter %d %g\n", index, static_cast<double>(value));
      }
      effect_->setParameter(effect_, index, value);
      break;
    }
    case 3:
      if (!std::isfinite(effect_->getParameter(effect_, anyIndex(in_)))) {
        fail("getParameter answered a non-finite value");
      }
      break;
    case 4:
      dispatch(effSetProgram, 0, in_.ConsumeIntegralInRange<VstIntPtr>(-2, 10), nullptr, 0.0f);
      break;
    case 5:
      if (in_.ConsumeBool()) {
        dispatch(effSetSampleRate, 0, 0, nullptr, anyFloat(in_));
      } else {
        dispatch(effSetBlockSize, 0, in_.ConsumeIntegral<VstInt32>(), nullptr, 0.0f);
      }
      break;
    case 6:
      dispatch(effMainsChanged, 0, in_.ConsumeBool() ? 1 : 0, nullptr, 0.0f);
      break;
    default:
      process();
      break;
    }
  }

private:
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (kTrace) {
      std::fprintf(stderr, "dispatch %d %d %lld %s %g\n", opcode, index,
                   static_cast<long long>(value), ptr != nullptr ? "buffer" : "null",
                   static_cast<double>(opt));
    }
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }

  // Any opcode but effClose, with arbitrary arguments; ptr is null or a buffer holding a
  // terminated text, and the two requests that take value as a place get a real one or null.
  void request() {
    VstInt32 opcode = in_.ConsumeIntegralInRange<VstInt32>(-1, 81);
    if (opcode == effClose) {
      opcode = effGetProgramNameIndexed;
    }
    const VstInt32 index = anyIndex(in_);
    VstIntPtr value = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<VstIntPtr>(-2, 10)
                                        : in_.ConsumeIntegral<VstIntPtr>();
    const float opt = anyFloat(in_);
    void* slot = nullptr;
    if (opcode == effGetSpeakerArrangement || opcode == effSetSpeakerArrangement) {
      value = in_.ConsumeBool() ? reinterpret_cast<VstIntPtr>(&slot) : 0;
    }
    const bool withBuffer = in_.ConsumeIntegralInRange(0, 7) != 0;
    if (opcode == effSetChunk) {
      value = value < 0 ? 0 : value % static_cast<VstIntPtr>(kBufferSize);
    }
    std::vector<char> before(kBufferSize);
    const std::string text = in_.ConsumeRandomLengthString(kBufferSize - 1);
    std::memset(buffer_, 0xA5, sizeof buffer_);
    std::memcpy(buffer_, text.c_str(), text.size() + 1);
    std::memcpy(before.data(), buffer_, kBufferSize);
    const VstIntPtr answer = dispatch(opcode, index, value, withBuffer ? buffer_ : nullptr, opt);
    if (withBuffer) {
      // A program name is listed only for the nine programs; otherwise nothing is written.
      const bool writesText = opcode != effGetProgramNameIndexed || answer != 0;
      checkBuffer(writesText ? textLimit(opcode) : 0, opcode, before);
    }
  }

  void checkBuffer(std::size_t limit, VstInt32 opcode, const std::vector<char>& before) const {
    std::size_t untouchedFrom = 0;
    if (limit != 0) {
      const void* zero = std::memchr(buffer_, 0, limit);
      if (zero == nullptr) {
        fail("host text unterminated within its limit", opcode, static_cast<long>(limit));
      }
      untouchedFrom = static_cast<std::size_t>(static_cast<const char*>(zero) - buffer_) + 1;
    } else if (opcode == effGetSpeakerArrangement) {
      untouchedFrom = sizeof(void*);
    }
    if (std::memcmp(buffer_ + untouchedFrom, before.data() + untouchedFrom,
                    kBufferSize - untouchedFrom) != 0) {
      fail("a request wrote past its text", opcode, static_cast<long>(untouchedFrom));
    }
  }

  void process() {
    const std::int32_t frames =
        in_.ConsumeIntegralInRange(0, 15) == 0 ? -1 : in_.ConsumeIntegralInRange(0, kMaxBlock);
    if (frames > 0 && (budget_ -= frames) < 0) {
      return;
    }
    const auto n = static_cast<std::size_t>(frames > 0 ? frames : 0);
    inL_.assign(n, 0.0f);
    inR_.assign(n, 0.0f);
    fillSamples(inL_);
    fillSamples(inR_);
    bool finiteIn = true;
    for (std::size_t i = 0; i < n; ++i) {
      finiteIn = finiteIn && std::isfinite(inL_[i]) && std::isfinite(inR_[i]);
    }
    float* ins[2] = {inL_.data(), inR_.data()};
    float* outs[2] = {ins[0], ins[1]};
    if (in_.ConsumeBool()) {
      outL_.assign(n, 7.0f);
      outR_.assign(n, 7.0f);
      outs[0] = outL_.data();
      outs[1] = outR_.data();
    }
    if (kTrace) {
      std::fprintf(stderr, "process %d frames%s (Bypass %d, LookAhead %g), first %g %g\n", frames,
                   outs[0] == ins[0] ? " in place" : "", fx_->bypassOn.load() ? 1 : 0,
                   static_cast<double>(fx_->lookAheadValue.load()),
                   n > 0 ? static_cast<double>(inL_[0]) : 0.0,
                   n > 0 ? static_cast<double>(inR_[0]) : 0.0);
    }
    effect_->processReplacing(effect_, ins, outs, frames);
    for (std::size_t i = 0; finiteIn && i < n; ++i) {
      if (!std::isfinite(outs[0][i]) || !std::isfinite(outs[1][i])) {
        fail("non-finite output for finite input", static_cast<long>(i), frames);
      }
    }
    checkGains();
  }

  // A short pattern from the input, repeated, scaled now and then to any size.
  void fillSamples(std::vector<float>& samples) {
    const std::size_t period = in_.ConsumeIntegralInRange<std::size_t>(1, 64);
    std::vector<float> pattern(period);
    for (float& v : pattern) {
      v = in_.ConsumeIntegralInRange(0, 3) == 0 ? anyFloat(in_)
                                                : in_.ConsumeFloatingPointInRange(-1.5f, 1.5f);
    }
    const float scale = in_.ConsumeBool() ? 1.0f : anyFloat(in_);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      samples[i] = pattern[i % period] * scale;
    }
  }

  // The feed's eight gains (those of its four sample extremes) and the followers.
  void checkGains() const {
    const FeedValues feed = FeedValues::loadFrom(fx_->wavePeakFeed);
    std::vector<float> gains;
    for (int ch = 0; ch < 2; ++ch) {
      for (const FeedValues::Extreme& e : {feed.max[ch], feed.min[ch]}) {
        gains.push_back(e.totalGain);
        gains.push_back(e.compGain);
      }
    }
    gains.push_back(fx_->processor.state().compGain);
    gains.push_back(fx_->processor.state().limGain);
    for (std::size_t i = 0; i < gains.size(); ++i) {
      if (!(gains[i] >= 0.0f && gains[i] <= 1.0f)) {
        fail("a gain outside 0..1", static_cast<long>(i));
      }
    }
  }

  FuzzedDataProvider& in_;
  AEffect* effect_ = nullptr;
  ADelay* fx_ = nullptr;
  std::int64_t budget_ = kFrameBudget;
  char buffer_[kBufferSize];
  std::vector<float> inL_, inR_, outL_, outR_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  Session session(in);
  while (in.remaining_bytes() > 0) {
    session.step();
  }
  return 0;
}
