// The sound file formats the renderer reads and writes, and how an output format is chosen.
#pragma once

#include <string>

struct AudioFormat {
  int sampleRate = 0;
  int channels = 0;
  int format = 0; // libsndfile's major format | subtype | endianness
  long long frames = 0;
};

// "FLAC, 24-bit" and the like.
std::string describeFormat(int format);

// "wav, flac, ..., mp3": the names --format and output extensions take.
std::string supportedFormatNames();

struct OutputRequest {
  std::string format; // --format, or empty
  std::string bits;   // --bits ("16", "24", "32", "float"), or empty
  std::string path;   // OUTPUT; "-" is standard output
};

// --format's name, else OUTPUT's extension, else (for "-" or no extension) the input's format;
// then the sample format --bits asks for, else the input's where the container holds it.
// Throws RenderError for a name or extension that names no supported format and for bits the
// container cannot hold.
int chooseOutputFormat(const AudioFormat& input, const OutputRequest& request);

// Bits of an integer sample format (8, 16, 24 or 32); 0 for float and compressed formats.
int integerBits(int format);
// Vorbis, Opus, MP3: what is written is what a decoder makes of the samples.
bool isLossy(int format);
