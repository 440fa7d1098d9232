#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "config/program_files.h"
#include "platform/event_log.h"
#include "platform/user.h"
#include "status/skin.h"
#include "status/skin_format.h"

namespace tarvik {

// The skin choice kept in [Olm:TK:Skin] of the main configuration file.
struct SkinChoice {
  bool external = false;
  std::string name = "Advanced";  // built-in name, or the folder of skin.qsf ending in a separator
  bool full = false;
};

SkinChoice readSkinChoice(const ProgramFiles& files);

// The picture holders of the status window. The toolkit layer implements it; a load fails for a
// missing file, an unreadable picture or one too large to be a skin picture.
class SkinPictures {
 public:
  virtual ~SkinPictures() = default;
  virtual void clear() = 0;
  virtual bool loadResource(SkinBitmap slot, const std::string& resourceName) = 0;
  virtual bool loadFile(SkinBitmap slot, const std::filesystem::path& file) = 0;
};

struct SkinLoadResult {
  bool ok = false;
  SkinHeader header;
  SkinLayout layout;  // meaningful when ok
};

// Applies the configured skin: picks the built-in or external skin, loads its twelve pictures,
// reads the outline and object layout of the mode in force and reports every step and every
// failure to the event log and the user.
// The check made when the user picks an external skin, reported to the event log and the user:
// false for a file that is no skin; a skin made for a newer program is accepted with a warning.
bool acceptPickedSkin(const SkinKeys& keys, EventLog& log, User& user);
// The same, for callers that show their messages themselves.
bool acceptPickedSkin(const SkinKeys& keys, EventLog& log,
                      const std::function<void(std::string_view)>& message);

class SkinLoader {
 public:
  SkinLoader(ProgramFiles files, EventLog& log, User& user)
      : files_(std::move(files)), log_(log), user_(user) {}

  // One run of the loader. On failure the pictures may be partly loaded and the result's layout
  // is not to be applied.
  SkinLoadResult load(const SkinChoice& choice, SkinPictures& pictures);

  // Stores the mode the user switched to and loads the skin once in that mode. A failed write
  // is reported and nothing is loaded (the result is not ok).
  SkinLoadResult switchMode(bool full, SkinPictures& pictures);

 private:
  void fallBackToStandard();

  ProgramFiles files_;
  EventLog& log_;
  User& user_;
  bool terminated_ = false;  // the settings could not be saved; the program is ending
};

}  // namespace tarvik
