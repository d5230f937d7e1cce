// Records the report tests print: fresh images and one crafted to reach every
// branch of the formatters.
#pragma once

#include "model/fresh_image.h"
#include "model/memory_image.h"
#include "model/memory_map.h"
#include "model/settings_record.h"
#include "record_builder.h"

namespace qm47::testing {

inline ImageAndRecord CraftedInput() {
  ImageAndRecord in = FreshImageAndRecord(1);
  SettingsRecord& r = in.rec;
  in.img.SetByte(addr::UserMmsiCount, 7);

  r.UsableGroup[0] = {true, true, 239, false, "    "};
  r.UsableGroup[1] = {false, false, 240, true, "AB"};
  r.UsableGroup[2] = {true, false, 65535, true, "LONGNAME"};
  r.UsableGroup[3] = {false, true, 279, false, ""};
  r.CommonSetup = {1, false, 0, false, true, -1, 0, 2, true};
  r.DscBasic.DscGroup = {true, false, true};
  r.DscBasic.UserMmsi = "1234567890";
  r.DscBasic.PosRequest = {false, true, true, false};
  r.DscBasic.PosRequestTX = {true, true, false, true};
  r.DscBasic.BeepOut = {true, false, true, false, true, false, true, true};
  r.DscAdvanced.AllShipsCall = {true, false, false, true};
  r.DscAdvanced.AllShipsCallTX = {false, true, false, true};
  r.DscAdvanced.GroupCall = {false, true, true, false};
  r.DscAdvanced.GroupCallTX = {true, false, true, false};
  r.DscAdvanced.IndividualCall = {true, true, false, false};
  r.DscAdvanced.IndividualCallTX = {false, false, true, true};
  r.DscAdvanced.DistressRelay = true;
  r.DscDisplay = {false, true, false};
  r.AtisCommon = {{true, false, false, true}, "9123456789", {false, true, true, false}};
  r.AtisCallSign[0] = {"316", "CAN"};
  r.AtisCallSign[9] = {"007", "TOOLONGDISP"};
  r.AtisCallSign[10] = {"338", "USA"};
  r.AtisCallSign[19] = {"235", "GBR"};

  // USA: duplex on a duplex pair, receive-only, scrambled, every flag, a long name.
  Channel& c16 = r.CHUSA[32];
  c16.Scramble = 5;
  c16.PowUp = true;
  c16.ScanMemory = true;
  Channel& c20 = r.CHUSA[40];
  c20.Duplex = true;
  c20.LowPower = true;
  c20.ChTag = "A VERY LONG CHANNEL NAME";
  Channel& c70 = r.CHUSA[140];
  c70.RxOnly = true;
  c70.TxEnable = false;
  c70.Scramble = 3;
  r.CHUSA[239].Enable = true;  // the last built-in position
  r.CHUSA[239].ChTag = "";
  // International keeps its plan; Canada has no enabled channel at all.
  for (Channel& ch : r.CHCAN) ch.Enable = false;

  r.CHWX[1].Enable = false;
  r.CHWX[2].ScanMemory = true;
  r.CHWX[3].ChTag = "";

  r.CHMMSID[0] = {true, "HARBOUR", "2111111110"};
  r.CHMMSID[1] = {true, "A NAME LONGER THAN TWELVE", ""};
  r.CHMMSID[47] = {false, "", "366123450"};
  r.CHGRPID[0] = {true, "FLEET", "0123456780"};

  Channel& e1 = r.CHEXP[0];
  e1.Enable = true;
  e1.CHDisplayL = "8";
  e1.CHDisplayR = "A";
  e1.Rxfreq = 157.0125;
  e1.Txfreq = 157.0031;  // snapped to 157.0000
  e1.LowPower = true;
  e1.PowUp = true;
  e1.ScanMemory = true;
  e1.Scramble = 6;
  e1.ChTag = "EXPANSION";
  Channel& e2 = r.CHEXP[1];
  e2.CHDisplayL = "12";
  e2.CHDisplayR = "bq";
  e2.Rxfreq = 161.6;
  Channel& e40 = r.CHEXP[39];
  e40.Enable = true;
  e40.CHDisplayL = "99";
  e40.Txfreq = 174.0;
  return in;
}

}  // namespace qm47::testing
