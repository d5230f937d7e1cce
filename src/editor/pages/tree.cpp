#include "editor/pages/tree.h"

#include <algorithm>
#include <cctype>

#include "model/builtin_tables.h"
#include "model/text.h"

namespace qm47 {

namespace {

constexpr const char* kEnableMark = "[Enable]";
constexpr const char* kGroupKeys[kGroupCount] = {"PU", "PI", "PC", "ExpChannel"};
constexpr const char* kGroupTexts[kGroupCount] = {"USA", "INTL", "CANADA", "EXP Channel"};


// The decimal number that makes up all of `digits`, or -1.
int WholeNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 6) return -1;
  int n = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

PageRef Page(PageKind kind, int group = -1, int index = -1) { return {kind, group, Directory::Individual, index}; }
PageRef DirPage(PageKind kind, Directory which, int index = -1) { return {kind, -1, which, index}; }

// A numbered child: the number after the parent's key, within first..last.
PageRef Numbered(std::string_view key, std::size_t prefix, int first, int last, PageRef page) {
  const int n = WholeNumber(key.substr(std::min(prefix, key.size())));
  if (n < first || n > last) return {};
  page.index = n;
  return page;
}

int RegionGroup(std::string_view upperKey) {
  if (upperKey == "PU") return kUSA;
  if (upperKey == "PI") return kINTL;
  if (upperKey == "PC") return kCanada;
  return -1;
}

std::string Marked(std::string text, bool enabled) { return enabled ? text + kEnableMark : text; }

std::string ChannelLabel(const Channel& ch) {
  const auto& builtin = BuiltinChannels();
  if (ch.Position < 0 || static_cast<std::size_t>(ch.Position) >= builtin.size()) return "";
  return builtin[static_cast<std::size_t>(ch.Position)].label;
}

std::string GroupText(const SettingsRecord& rec, int group) {
  const UsableGroupEntry& g = rec.UsableGroup[static_cast<std::size_t>(group)];
  // A status name appears only while the radio shows the name instead of the icon.
  const bool named = !g.StatusName.empty() && !g.StatusIcon;
  return std::string(kGroupTexts[group]) + (named ? "(" + g.StatusName + ")" : "");
}

// The text a node shows now; nodes whose text never changes keep theirs.
std::string NodeText(const SettingsRecord& rec, const TreeNode& node) {
  const PageRef& p = node.page;
  switch (p.kind) {
    case PageKind::ChannelList:
      return GroupText(rec, p.group);
    case PageKind::Channel: {
      const auto& table = rec.GroupTable(p.group);
      const std::size_t at = static_cast<std::size_t>(p.group == kEXP ? p.index - 1 : p.index);
      if (at >= table.size()) return node.text;
      if (p.group == kEXP) return Marked("EXP" + std::to_string(p.index), table[at].Enable);
      return Marked("CH" + ChannelLabel(table[at]), table[at].Enable);
    }
    case PageKind::DirectoryEntry: {
      const bool individual = p.directory == Directory::Individual;
      const auto& list = individual ? rec.CHMMSID : rec.CHGRPID;
      const std::size_t at = static_cast<std::size_t>(p.index - 1);
      if (at >= list.size()) return node.text;
      return Marked((individual ? "Memory ID" : "Group ID") + std::to_string(p.index), list[at].InUse);
    }
    default:
      return node.text;
  }
}

bool UpdateText(NavigationTree& tree, const SettingsRecord& rec, int index) {
  TreeNode& node = tree.nodes[static_cast<std::size_t>(index - 1)];
  std::string text = NodeText(rec, node);
  if (text == node.text) return false;
  node.text = std::move(text);
  return true;
}

class TreeBuilder {
 public:
  TreeBuilder(const SettingsRecord& rec, NavigationTree& tree) : rec_(rec), tree_(tree) {}

  int Add(std::string key, std::string text, int parent = 0) {
    TreeNode node;
    node.page = ShowPage(key, parent ? std::string_view(tree_.at(parent).key) : std::string_view());
    node.key = std::move(key);
    node.text = std::move(text);
    node.parent = parent;
    node.text = NodeText(rec_, node);
    tree_.nodes.push_back(std::move(node));
    return tree_.size();
  }

  void AddGroup(int group, int parent) {
    if (!rec_.UsableGroup[static_cast<std::size_t>(group)].Usable) return;
    const int node = Add(kGroupKeys[group], kGroupTexts[group], parent);
    tree_.groupNode[static_cast<std::size_t>(group)] = node;
    const int count = static_cast<int>(rec_.GroupTable(group).size());
    for (int i = 0; i < count; ++i) {
      const int index = group == kEXP ? i + 1 : i;
      Add(ChannelNodeKey(group, index), "", node);
    }
  }

  void AddDirectory(Directory which, const char* key, const char* text, int parent) {
    const int node = Add(key, text, parent);
    const int count = static_cast<int>(which == Directory::Individual ? rec_.CHMMSID.size() : rec_.CHGRPID.size());
    for (int n = 1; n <= count; ++n) Add(DirectoryNodeKey(which, n), "", node);
  }

 private:
  const SettingsRecord& rec_;
  NavigationTree& tree_;
};

}  // namespace

int NavigationTree::IndexOf(std::string_view key) const {
  const std::string wanted = Upper(key);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].key.size() == wanted.size() && Upper(nodes[i].key) == wanted) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string NodeName(const NavigationTree& tree, int index) {
  std::string text = tree.at(index).text;
  const std::string_view mark = kEnableMark;
  if (text.ends_with(mark)) text.resize(text.size() - mark.size());
  return text;
}

std::string ChannelNodeKey(int group, int index) {
  if (group < 0 || group >= kGroupCount) return "";
  return (group == kEXP ? std::string("E") : std::string(kGroupKeys[group])) + std::to_string(index);
}

std::string DirectoryNodeKey(Directory which, int number) {
  return (which == Directory::Individual ? "SM" : "SG") + std::to_string(number);
}

NavigationTree BuildTree(const SettingsRecord& rec, const ModelDescriptor& model) {
  NavigationTree tree;
  tree.nodes.reserve(4 * kRegionPositions);
  TreeBuilder b(rec, tree);

  const int general = b.Add("General", "General");
  b.Add("Usable", "Usable CH Group Setup", general);
  b.Add("Common", "Common Setup", general);
  b.Add("DSC", "DSC Setup", general);
  if (model.atis) b.Add("ATIS", "ATIS Setup", general);

  const int program = b.Add("Program", "Usable Channel");
  for (const int group : {kUSA, kINTL, kCanada}) b.AddGroup(group, program);
  b.Add("PW", "Weather", program);

  const int dsc = b.Add("DSCSetting", "DSC");
  b.AddDirectory(Directory::Individual, "SM", "Individual Directory", dsc);
  b.AddDirectory(Directory::Group, "SG", "Group Directory", dsc);

  b.AddGroup(kEXP, 0);
  return tree;
}

TreeChange RefreshTree(NavigationTree& tree, const SettingsRecord& rec, const ModelDescriptor& model) {
  NavigationTree fresh = BuildTree(rec, model);
  TreeChange change;
  const bool sameNodes = std::equal(tree.nodes.begin(), tree.nodes.end(), fresh.nodes.begin(), fresh.nodes.end(),
                                    [](const TreeNode& a, const TreeNode& b) { return a.key == b.key; });
  if (!sameNodes) {
    change.rebuilt = true;
  } else {
    for (int i = 1; i <= fresh.size(); ++i) {
      if (fresh.at(i).text != tree.at(i).text) change.texts.push_back(i);
    }
  }
  tree = std::move(fresh);
  return change;
}

int RefreshNodeText(NavigationTree& tree, const SettingsRecord& rec, std::string_view key) {
  const int index = tree.IndexOf(key);
  return index && UpdateText(tree, rec, index) ? index : 0;
}

std::vector<int> RefreshStatusNames(NavigationTree& tree, const SettingsRecord& rec) {
  std::vector<int> changed;
  for (const int index : tree.groupNode) {
    if (index && UpdateText(tree, rec, index)) changed.push_back(index);
  }
  return changed;
}

std::vector<int> RefreshDirectoryMarks(NavigationTree& tree, const SettingsRecord& rec, Directory which) {
  std::vector<int> changed;
  for (int i = 1; i <= tree.size(); ++i) {
    const PageRef& p = tree.at(i).page;
    if (p.kind == PageKind::DirectoryEntry && p.directory == which && UpdateText(tree, rec, i)) changed.push_back(i);
  }
  return changed;
}

PageRef ShowPage(std::string_view key, std::string_view parentKey) {
  const std::string k = Upper(key);
  const std::string parent = Upper(parentKey);

  if (parent.empty()) {
    if (k == "GENERAL") return Page(PageKind::General);
    if (k == "PROGRAM" || k == "DSCSETTING") return Page(PageKind::Blank);
    if (k == "EXPCHANNEL") return Page(PageKind::ChannelList, kEXP);
    return {};
  }
  if (parent == "GENERAL") {
    if (k == "USABLE") return Page(PageKind::Usable);
    if (k == "COMMON") return Page(PageKind::Common);
    if (k == "DSC") return Page(PageKind::Dsc);
    if (k == "ATIS") return Page(PageKind::Atis);
    return {};
  }
  if (parent == "PROGRAM") {
    if (const int group = RegionGroup(k); group >= 0) return Page(PageKind::ChannelList, group);
    if (k == "PW") return Page(PageKind::Weather);
    return {};
  }
  if (const int group = RegionGroup(parent); group >= 0) {
    if (k.compare(0, 2, parent) != 0) return {};
    return Numbered(k, 2, 0, kRegionPositions - 1, Page(PageKind::Channel, group));
  }
  if (parent == "DSCSETTING") {
    if (k == "SM") return DirPage(PageKind::DirectoryList, Directory::Individual);
    if (k == "SG") return DirPage(PageKind::DirectoryList, Directory::Group);
    return {};
  }
  if (parent == "SM" && k.starts_with("SM")) {
    return Numbered(k, 2, 1, kIndividualEntries, DirPage(PageKind::DirectoryEntry, Directory::Individual));
  }
  if (parent == "SG" && k.starts_with("SG")) {
    return Numbered(k, 2, 1, kGroupEntries, DirPage(PageKind::DirectoryEntry, Directory::Group));
  }
  if (parent == "EXPCHANNEL" && k.starts_with("E")) {
    return Numbered(k, 1, 1, kExpChannels, Page(PageKind::Channel, kEXP));
  }
  return {};
}

void NodeSelection::Forget() {
  index_ = -1;
  key_.clear();
}

NodeSelection::Step NodeSelection::Click(const NavigationTree& tree, int index,
                                         const std::function<bool()>& validate) {
  if (index < 1 || index > tree.size() || index == index_) return {};
  if (!validate || validate()) {
    index_ = index;
    key_ = tree.at(index).key;
    return {Action::Show, index};
  }
  if (index_ >= 1 && index_ <= tree.size()) return {Action::Reselect, index_};
  return {};
}

NodeSelection::Step NodeSelection::SelectNode(const NavigationTree& tree, std::string_view key,
                                              const std::function<bool()>& validate) {
  return Click(tree, tree.IndexOf(key), validate);
}

int NodeSelection::Follow(const NavigationTree& tree) {
  const int index = key_.empty() ? 0 : tree.IndexOf(key_);
  if (!index) {
    Forget();
    return -1;
  }
  index_ = index;
  return index_;
}

}  // namespace qm47
