// A session over a scratch data folder with the four catalogue models.
#pragma once

#include <memory>

#include "editor/documents/new_image.h"
#include "editor/session/session.h"
#include "model/fresh_image.h"
#include "cli_fixture.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace qm47::testing {


struct SessionFixture {
  explicit SessionFixture(int model = 1, bool debug = true)
      : dir("editor"),
        session(dir.path().string(), IniFile::Parse(kCatalogue), prefs, ui, StartupFlags{debug, false},
                ErrorLog(dir / "err.log", debug)) {
    SetModel(session, model);
    NewImageSetup(session);
  }

  std::string Image(int model) {
    SettingsRecord rec;
    MemoryImage img;
    NewImageData(rec, img, model);
    return std::string(img.bytes().begin(), img.bytes().end());
  }

  TempDir dir;
  MemoryPreferenceStore prefs;
  RecordingUi ui;
  Session session;
};

}  // namespace qm47::testing
