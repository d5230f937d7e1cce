#include "editor/pages/entry_events.h"

#include "report/value_format.h"

namespace qm47 {

namespace {

// A valid entry goes into the record and the field shows what was stored.
void Store(EntryOutcome& out, const EntryFieldState& field, const EntryValue& value) {
  out.store = EntryStore{field.place, value};
  const std::string shown = ShownText(field.place.field, value);
  if (shown != field.text) out.show = shown;
  out.pending = false;
}

// The stored value back into the field; a frequency off the 5/12.5 kHz steps is snapped
// on the way, in the record too, so field and record agree.
void Restore(EntryOutcome& out, const EntryFieldState& field, const SettingsRecord& rec) {
  const EntryValue stored = StoredEntry(rec, field.place);
  const std::string shown = ShownText(field.place.field, stored);
  if (shown != field.text) out.show = shown;
  if (RuleFor(field.place.field).check == EntryCheck::Frequency) {
    EntryValue snapped = stored;
    snapped.mhz = SnappedExpFrequency(snapped.mhz);
    if (snapped != stored) out.store = EntryStore{field.place, snapped};
  }
}

}  // namespace

EntryOutcome EntryFocusGained(const EntryFieldState& field) {
  EntryOutcome out;
  out.pending = field.pending;
  out.newTypingStep = true;
  out.selectAll = true;
  out.hint = std::string(RuleFor(field.place.field).hint);
  return out;
}

EntryOutcome EntryTextChanged(const EntryFieldState& field, bool pageActive) {
  EntryOutcome out;
  out.pending = field.pending;
  if (!pageActive || !EntryEditable(field.place)) return out;
  out.pending = true;
  out.edited = true;
  if (RuleFor(field.place.field).stores == EntryStoreTime::EachChange)
    out.store = EntryStore{field.place, CheckEntry(field.place.field, field.text).value};
  return out;
}

EntryOutcome EntryFocusLost(const EntryFieldState& field, const SettingsRecord& rec) {
  EntryOutcome out;
  const EntryFieldRule& rule = RuleFor(field.place.field);
  if (!EntryEditable(field.place)) return out;
  if (rule.check == EntryCheck::CallSignNumber) {
    // Padded on every leave, but the record changes only when the padding adds something.
    const std::string padded = CallSignNumberText(field.text);
    if (padded != field.text) out.show = padded;
    if (StoredEntry(rec, field.place).text != padded) out.store = EntryStore{field.place, {padded}};
    return out;
  }
  if (!field.pending || rule.stores == EntryStoreTime::EachChange) return out;
  const EntryCheckResult r = CheckEntry(field.place.field, field.text);
  if (r.valid) {
    Store(out, field, r.value);
  } else {
    Restore(out, field, rec);
  }
  return out;
}

EntryOutcome EntryFocusLeftPage(const EntryFieldState& field, const SettingsRecord& rec) {
  if (field.pending && EntryEditable(field.place) && RuleFor(field.place.field).stores == EntryStoreTime::WhenLeft) {
    EntryOutcome out;
    out.pending = true;
    return out;
  }
  return EntryFocusLost(field, rec);
}

EntryOutcome EntryValidate(const EntryFieldState& field) {
  EntryOutcome out;
  out.pending = field.pending;
  const EntryFieldRule& rule = RuleFor(field.place.field);
  if (!field.pending || rule.stores == EntryStoreTime::EachChange || !EntryEditable(field.place)) return out;
  const EntryCheckResult r = CheckEntry(field.place.field, field.text);
  if (!r.valid) {
    out.messages.push_back({kDataErrorMessage, std::string(rule.errorTitle), Icon::Exclamation, Buttons::Ok,
                            EntryRuleText(field.place.field)});
    out.keepFocus = true;
    out.valid = false;
    return out;
  }
  Store(out, field, r.value);
  return out;
}

EntryOutcome ValidatePendingEntry(const EntryWindowState& window) {
  EntryOutcome out;
  if (window.focus) out = EntryValidate(*window.focus);
  if (!window.channelPage) return out;

  const ChannelPageEntry& page = *window.channelPage;
  // The receive frequency as it stands after its own validation.
  std::string rxText = page.rxText;
  if (window.focus && window.focus->place.field == EntryField::RxFrequency)
    rxText = out.show.value_or(window.focus->text);
  const bool noFrequency = rxText.find("---") != std::string::npos;
  if (page.enableChecked && page.expansion && (noFrequency || page.displayLeftText.size() < 2)) {
    // The message names neither field: the detail says which one the enabled channel lacks.
    const std::string detail =
        noFrequency ? "Rx Frequency: an enabled channel needs one, 137 to 174 MHz on a 25 kHz step, for example 157.025."
                    : "CH Display: an enabled channel needs 2 characters the radio can show, for example 88.";
    out.messages.push_back({kChannelDataErrorMessage, window.programTitle, Icon::Exclamation, Buttons::Ok, detail});
    out.valid = false;
  }
  return out;
}

}  // namespace qm47
