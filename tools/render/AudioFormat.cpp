#include "AudioFormat.h"

#include "RenderError.h"

#include <sndfile.h>

#include <cctype>
#include <initializer_list>

namespace {

struct NamedFormat {
  const char* name;
  const char* otherExtension; // or null
  int major;
  int lossySubtype; // 0 for formats that take the usual sample formats
};

constexpr NamedFormat kFormats[] = {
    {"wav", nullptr, SF_FORMAT_WAV, 0},
    {"flac", nullptr, SF_FORMAT_FLAC, 0},
    {"aiff", "aif", SF_FORMAT_AIFF, 0},
    {"caf", nullptr, SF_FORMAT_CAF, 0},
    {"w64", nullptr, SF_FORMAT_W64, 0},
    {"rf64", nullptr, SF_FORMAT_RF64, 0},
    {"au", "snd", SF_FORMAT_AU, 0},
    {"ogg", "oga", SF_FORMAT_OGG, SF_FORMAT_VORBIS},
    {"opus", nullptr, SF_FORMAT_OGG, SF_FORMAT_OPUS},
    {"mp3", nullptr, SF_FORMAT_MPEG, SF_FORMAT_MPEG_LAYER_III},
};

std::string lowered(std::string text) {
  for (auto& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

const NamedFormat* findFormat(const std::string& name) {
  const std::string wanted = lowered(name);
  for (const auto& f : kFormats) {
    if (wanted == f.name || (f.otherExtension != nullptr && wanted == f.otherExtension)) {
      return &f;
    }
  }
  return nullptr;
}

// The table entry of an input's format; null for formats the renderer only reads.
const NamedFormat* formatOf(int format) {
  // Extensible WAV is written as plain WAV, which holds the same samples.
  const int major = (format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAVEX ? SF_FORMAT_WAV
                                                                     : format & SF_FORMAT_TYPEMASK;
  const int subtype = format & SF_FORMAT_SUBMASK;
  for (const auto& f : kFormats) {
    if (f.major == major && (f.lossySubtype == 0 || f.lossySubtype == subtype)) {
      return &f;
    }
  }
  return nullptr;
}

std::string extensionOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
      dot == (slash == std::string::npos ? 0 : slash + 1)) {
    return {};
  }
  return path.substr(dot + 1);
}

std::string formatName(int format) {
  SF_FORMAT_INFO info{};
  info.format = format;
  if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0 || info.name == nullptr) {
    return "unknown";
  }
  return info.name;
}

bool holds(int format, int channels) {
  SF_INFO probe{};
  probe.samplerate = 48000;
  probe.channels = channels;
  probe.format = format;
  return sf_format_check(&probe) != 0;
}

int subtypeForBits(const std::string& bits) {
  return bits == "16"   ? SF_FORMAT_PCM_16
         : bits == "24" ? SF_FORMAT_PCM_24
         : bits == "32" ? SF_FORMAT_PCM_32
                        : SF_FORMAT_FLOAT;
}

} // namespace

std::string describeFormat(int format) {
  return formatName(format & SF_FORMAT_TYPEMASK) + ", " + formatName(format & SF_FORMAT_SUBMASK);
}

std::string supportedFormatNames() {
  std::string names;
  for (const auto& f : kFormats) {
    names += (names.empty() ? "" : ", ") + std::string(f.name);
  }
  return names;
}

int chooseOutputFormat(const AudioFormat& input, const OutputRequest& request) {
  const NamedFormat* target = nullptr;
  if (!request.format.empty()) {
    target = findFormat(request.format);
    if (target == nullptr) {
      throw RenderError("--format '" + request.format + "': expected one of " +
                        supportedFormatNames());
    }
  } else if (const std::string extension = extensionOf(request.path);
             !extension.empty() && request.path != "-") {
    target = findFormat(extension);
    if (target == nullptr) {
      throw RenderError("'" + request.path + "': '." + extension +
                        "' names no format this program writes (" + supportedFormatNames() +
                        "); choose one with --format");
    }
  } else {
    target = formatOf(input.format);
    if (target == nullptr) {
      throw RenderError("cannot write " + describeFormat(input.format) + " like the input; " +
                        "choose one of " + supportedFormatNames() + " with --format");
    }
  }
  if (target->lossySubtype != 0) {
    if (!request.bits.empty()) {
      throw RenderError("--bits: " + std::string(target->name) +
                        " output has no sample format to choose; see --quality");
    }
    return target->major | target->lossySubtype;
  }
  if (!request.bits.empty()) {
    const int format = target->major | subtypeForBits(request.bits);
    if (!holds(format, input.channels)) {
      throw RenderError("--bits " + request.bits + ": " + formatName(target->major) +
                        " cannot hold " + formatName(format & SF_FORMAT_SUBMASK) + " samples");
    }
    return format;
  }
  if (target->major == (input.format & SF_FORMAT_TYPEMASK)) {
    return input.format;
  }
  for (const int subtype : std::initializer_list<int>{
           input.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16, SF_FORMAT_FLOAT}) {
    if (!isLossy(subtype) && holds(target->major | subtype, input.channels)) {
      return target->major | subtype;
    }
  }
  throw RenderError("no sample format of " + formatName(target->major) + " can hold this audio");
}

int integerBits(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
  case SF_FORMAT_PCM_S8:
  case SF_FORMAT_PCM_U8:
    return 8;
  case SF_FORMAT_PCM_16:
    return 16;
  case SF_FORMAT_PCM_24:
    return 24;
  case SF_FORMAT_PCM_32:
    return 32;
  default:
    return 0;
  }
}

bool isLossy(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
  case SF_FORMAT_VORBIS:
  case SF_FORMAT_OPUS:
  case SF_FORMAT_MPEG_LAYER_I:
  case SF_FORMAT_MPEG_LAYER_II:
  case SF_FORMAT_MPEG_LAYER_III:
    return true;
  default:
    return false;
  }
}
