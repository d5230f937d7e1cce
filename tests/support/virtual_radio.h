// A radio in the same process for the window's transfer commands: the model's fresh
// settings, a memory pipe to it and a virtual clock, so whole transfers take no time.
#pragma once

#include "model/fresh_image.h"
#include "model/models.h"
#include "sim/memory_pipe.h"
#include "sim/radio_engine.h"

namespace qm47::testing {

struct VirtualRadio {
  explicit VirtualRadio(int model) : radio(Fresh(model)), pipe(radio, clock, "/dev/ttyVIRTUAL") {}

  static sim::Memory Fresh(int model) {
    MemoryImage img;
    MakeFreshImage(img, model);
    sim::RadioEngine engine(img.bytes());
    engine.SetModelCode(*ModelCode(model));
    return engine.memory();
  }

  VirtualClock clock;
  sim::RadioEngine radio;
  sim::MemoryPipe pipe;
};

}  // namespace qm47::testing
