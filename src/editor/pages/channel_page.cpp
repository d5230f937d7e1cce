#include "editor/pages/channel_page.h"

#include "editor/pages/channel_texts.h"
#include "editor/session/help_topics.h"

namespace qm47 {

namespace {

template <typename Record>
auto* ChannelAt(Record& rec, ChannelRef ref) {
  using Found = decltype(&rec.CHEXP[0]);
  if (ref.group < kUSA || ref.group > kEXP) return Found{};
  auto& table = rec.GroupTable(ref.group);
  const int at = ref.group == kEXP ? ref.index - 1 : ref.index;
  if (at < 0 || static_cast<std::size_t>(at) >= table.size()) return Found{};
  return &table[static_cast<std::size_t>(at)];
}

CheckBoxState Check(const char* name, const char* caption, bool checked, int help) {
  CheckBoxState c;
  c.name = name;
  c.caption = caption;
  c.checked = checked;
  c.hint = kCheckBoxHint;
  c.helpContext = help;
  return c;
}

// A text box showing the record's value through its entry rule.
TextBoxState Text(const SettingsRecord& rec, std::string name, const char* caption, EntryPlace place) {
  TextBoxState t;
  t.name = std::move(name);
  t.caption = caption;
  t.entry = place;
  t.hint = std::string(RuleFor(place.field).hint);
  t.text = ShownText(place.field, StoredEntry(rec, place));
  t.readOnly = !EntryEditable(place);
  return t;
}


// The enabling rules, in the order the page applies them after filling.
void ApplyEnabling(ChannelPageState& st, const Channel& ch) {
  const bool on = ch.Enable;
  for (TextBoxState* t : {&st.txtCN[0], &st.txtCN[1], &st.txtCRF, &st.txtCTF, &st.txtCTag}) t->enabled = on;
  for (CheckBoxState* c : {&st.chkCTXEnable, &st.chkCTXOnly, &st.chkCTXPower, &st.chkCDup, &st.chkCScan})
    c->enabled = on;
  st.cmbScramble.enabled = on;

  if (!st.expansion) {
    // Each of these only ever takes away what "CH Enable" gave.
    const ChannelLocks locks = PlanChannelLocks(ch);
    if (locks.txEnable) st.chkCTXEnable.enabled = false;
    if (locks.duplex) st.chkCDup.enabled = false;
    if (locks.scan) st.chkCScan.enabled = false;
    if (locks.scrambler) st.cmbScramble.enabled = false;
  }
  st.chkCTXOnly.enabled = st.chkCTXOnly.enabled && st.chkCTXEnable.checked && st.chkCTXEnable.enabled;
  st.chkCTXPower.enabled = st.chkCTXPower.enabled && st.chkCTXOnly.checked && st.chkCTXOnly.enabled;

  st.lineToLowPower = {st.chkCTXEnable.visible, Lit(st.chkCTXOnly.enabled)};
  st.lineToPowerUp = {true, Lit(st.chkCTXPower.enabled)};
}

const CheckBoxState* CheckBoxOf(const ChannelPageState& st, ChannelControl c) {
  switch (c) {
    case ChannelControl::Enable: return &st.chkCEnable;
    case ChannelControl::TxEnable: return &st.chkCTXEnable;
    case ChannelControl::LowPowerOnly: return &st.chkCTXOnly;
    case ChannelControl::PowerUp: return &st.chkCTXPower;
    case ChannelControl::Duplex: return &st.chkCDup;
    case ChannelControl::ScanMemory: return &st.chkCScan;
    case ChannelControl::Scrambler: return nullptr;
  }
  return nullptr;
}

}  // namespace

ChannelLocks PlanChannelLocks(const Channel& ch) {
  ChannelLocks locks;
  locks.txEnable = ch.RxOnly;
  locks.duplex = !ch.DupCapable;
  locks.scan = ch.Position == kDscRow;
  locks.scrambler = ch.Position == kDscRow || ch.Position == kDistressRow;
  return locks;
}

std::optional<ChannelPageState> BuildChannelPage(const SettingsRecord& rec, const ModelDescriptor& model,
                                                 ChannelRef ref) {
  const Channel* found = ChannelAt(rec, ref);
  if (!found) return std::nullopt;
  const Channel& ch = *found;
  const bool exp = ref.group == kEXP;
  const int entry = exp ? ref.index - 1 : ref.index;

  ChannelPageState st;
  st.channel = ref;
  st.expansion = exp;
  st.nodeKey = ChannelNodeKey(ref.group, ref.index);

  // One label for both boxes; a screen reader tells them apart by these names.
  st.txtCN[0] = Text(rec, "txtCN_0", "CH Display", {EntryField::DisplayLeft, entry, ref.group});
  st.txtCN[1] = Text(rec, "txtCN_1", "CH Display suffix", {EntryField::DisplayRight, entry, ref.group});
  st.txtCRF = Text(rec, "txtCRF", "Rx Frequency", {EntryField::RxFrequency, entry, ref.group});
  st.txtCTF = Text(rec, "txtCTF", "Tx Frequency", {EntryField::TxFrequency, entry, ref.group});
  st.txtCRF.unit = st.txtCTF.unit = "MHz";
  st.txtCTag = Text(rec, "txtCTag", "CH Name", {EntryField::ChannelTag, entry, ref.group});
  st.txtCTag.helpContext = help_context::Name;
  if (!exp) {
    // The plan's boxes show the table row, as the grid does.
    const ChannelDisplay display = PlanChannelDisplay(PlanChannelLabel(ch));
    st.txtCN[0].text = display.number;
    st.txtCN[1].text = display.suffix;
    st.txtCRF.text = PlanRxText(ch);
    st.txtCTF.text = PlanTxText(ch);
  }

  st.chkCEnable = Check("chkCEnable", "CH Enable", ch.Enable, help_context::Enable);
  st.chkCTXEnable = Check("chkCTXEnable", "Tx Enable", ch.TxEnable && !ch.RxOnly, help_context::TxEnable);
  st.chkCTXEnable.visible = !exp;
  st.chkCTXOnly = Check("chkCTXOnly", "Low Power Only", ch.LowPower, help_context::LowPower);
  st.chkCTXPower = Check("chkCTXPower", "Power Up", ch.PowUp, help_context::PowerUp);
  st.chkCDup = Check("chkCDup", "Duplex", ch.Duplex, help_context::Duplex);
  st.chkCDup.visible = !exp;
  st.chkCScan = Check("chkCScan", "Scan Memory", ch.ScanMemory, help_context::Scan);

  ListState& vs = st.cmbScramble;
  vs.name = "cmbScramble";
  vs.caption = "Scrambler";
  vs.items = ScramblerItems();
  vs.index = ScramblerIndex(ch.Scramble);
  vs.visible = model.scrambler;
  vs.hint = kListHint;
  vs.helpContext = help_context::Scrambler;

  ApplyEnabling(st, ch);
  return st;
}

std::optional<ChannelPageState> ChannelPageFor(Session& s, ChannelRef ref) {
  if (ref.group == kEXP && ChannelAt(s.record, ref)) {
    s.Tidy(record_area::Expansion, [&](SettingsRecord& r) { SnapExpansionFrequencies(*ChannelAt(r, ref)); });
  }
  return BuildChannelPage(s.record, s.model, ref);
}

unsigned ChannelArea(int group) { return group == kEXP ? record_area::Expansion : record_area::Channels; }

std::optional<Channel> ChannelAfterEdit(const SettingsRecord& rec, const ModelDescriptor& model, ChannelRef ref,
                                        ChannelEdit edit) {
  const std::optional<ChannelPageState> st = BuildChannelPage(rec, model, ref);
  if (!st) return std::nullopt;
  Channel ch = *ChannelAt(rec, ref);
  const bool on = edit.value != 0;

  if (edit.control == ChannelControl::Scrambler) {
    const ListState& list = st->cmbScramble;
    if (!list.visible || !list.enabled || edit.value < 0 || edit.value >= static_cast<int>(list.items.size()))
      return std::nullopt;
    ch.Scramble = static_cast<std::int16_t>(ScrambleOfIndex(ch.Scramble, edit.value));
  } else {
    const CheckBoxState* box = CheckBoxOf(*st, edit.control);
    if (!box || !box->visible || !box->enabled) return std::nullopt;
    switch (edit.control) {
      case ChannelControl::Enable: ch.Enable = on; break;
      case ChannelControl::TxEnable: ch.TxEnable = on; break;
      // TxEnable needs no copy from "Tx Enable": this box is enabled only while that one is checked.
      case ChannelControl::LowPowerOnly: ch.LowPower = on; break;
      case ChannelControl::PowerUp: ch.PowUp = on; break;
      case ChannelControl::Duplex: ch.Duplex = on; break;
      case ChannelControl::ScanMemory: ch.ScanMemory = on; break;
      case ChannelControl::Scrambler: break;
    }
  }
  if (ch == *ChannelAt(rec, ref)) return std::nullopt;
  return ch;
}

bool ApplyChannelEdit(SettingsRecord& rec, const ModelDescriptor& model, ChannelRef ref, ChannelEdit edit) {
  const std::optional<Channel> next = ChannelAfterEdit(rec, model, ref, edit);
  if (!next) return false;
  *ChannelAt(rec, ref) = *next;
  return true;
}

ChannelEditResult EditChannel(Session& s, NavigationTree& tree, ChannelRef ref, ChannelEdit edit) {
  ChannelEditResult r;
  if (!s.EditsHeld()) {
    if (const std::optional<Channel> next = ChannelAfterEdit(s.record, s.model, ref, edit)) {
      r.applied = s.Edit(ChannelArea(ref.group),
                         [&](SettingsRecord& rec) { *ChannelAt(rec, ref) = *next; });
    }
  }
  if (r.applied && edit.control == ChannelControl::Enable)
    r.treeNode = RefreshNodeText(tree, s.record, ChannelNodeKey(ref.group, ref.index));
  r.page = BuildChannelPage(s.record, s.model, ref);
  return r;
}

}  // namespace qm47
