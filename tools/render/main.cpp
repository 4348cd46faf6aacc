// zembrac-render: renders a sound file through a VST 2.4 plug-in (by default Zembrac).
#include "AudioWriter.h"
#include "MasterCommand.h"
#include "Options.h"
#include "RenderCommand.h"
#include "RenderError.h"

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kPluginFile[] = "zembrac.so";

bool isFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The library beside the executable (a copied pair), then where an install puts it, then -
// for the program this build made, run where it was built - the one built with it.
std::string defaultPluginPath() {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
  dir.erase(dir.find_last_of('/') + 1);
  for (const std::string& candidate : {dir + kPluginFile, dir + "../lib/vst/" + kPluginFile}) {
    char resolved[PATH_MAX];
    if (isFile(candidate) && realpath(candidate.c_str(), resolved) != nullptr) {
      return resolved;
    }
  }
  if (dir == ZEMBRAC_BUILD_DIR "/" && isFile(ZEMBRAC_BUILT_PLUGIN)) {
    return ZEMBRAC_BUILT_PLUGIN;
  }
  throw RenderError(std::string("cannot find ") + kPluginFile + " beside " + dir +
                    " or in ../lib/vst from there; name it with --plugin PATH");
}

} // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  try {
    const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(usageText().c_str(), stdout);
      return 0;
    }
    if (options.version) {
      std::fputs(versionText().c_str(), stdout);
      return 0;
    }
    // A closed pipe on standard output is reported as an error, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    AudioWriter::removeTemporaryOnSignals();
    const std::string plugin =
        options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath;
    return options.list          ? runList(options, plugin)
           : options.mastering() ? runMaster(options, plugin, started)
                                 : runRender(options, plugin, started);
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "zembrac-render: %s\n", e.what());
    return kExitFailure;
  }
}
