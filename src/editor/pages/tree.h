// The navigation tree as data: which nodes exist, their keys and texts, which page
// each node shows, and which node is current. The window only mirrors it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

enum class PageKind {
  None,  // a key no page belongs to
  General,
  Blank,
  Usable,
  Common,
  Dsc,
  Atis,
  ChannelList,     // group: kUSA, kINTL, kCanada or kEXP
  Channel,         // group as above; index: list entry from 0, or expansion channel 1..40
  Weather,
  DirectoryList,   // directory
  DirectoryEntry,  // directory; index: entry number from 1
};

enum class Directory { Individual, Group };

struct PageRef {
  PageKind kind = PageKind::None;
  int group = -1;
  Directory directory = Directory::Individual;
  int index = -1;

  bool operator==(const PageRef&) const = default;
};

struct TreeNode {
  std::string key;   // "General", "PU12", "SM3", "E7"
  std::string text;  // "CH06[Enable]", "USA(BOAT)"
  int parent = 0;    // index of the parent node, 0 for a root node
  PageRef page;
};

// Indexes count from 1 in tree order, so a parent always comes before its children.
struct NavigationTree {
  std::vector<TreeNode> nodes;
  // Index of the "USA", "INTL", "CANADA" and "EXP Channel" nodes, 0 when absent.
  std::array<int, kGroupCount> groupNode{};

  int size() const { return static_cast<int>(nodes.size()); }
  const TreeNode& at(int index) const { return nodes.at(static_cast<std::size_t>(index - 1)); }
  // Keys compare ignoring case; 0 when no node has the key.
  int IndexOf(std::string_view key) const;
};

// Every node of the record and model, with finished texts ("[Enable]" marks and status names).
NavigationTree BuildTree(const SettingsRecord& rec, const ModelDescriptor& model);

// What a refresh changed: the nodes themselves (the window builds its tree again), or
// only the texts of the listed nodes.
struct TreeChange {
  bool rebuilt = false;
  std::vector<int> texts;
};
TreeChange RefreshTree(NavigationTree& tree, const SettingsRecord& rec, const ModelDescriptor& model);

// After one edit: brings the text of the node with `key` up to date. Returns its index
// when the text changed, else 0.
int RefreshNodeText(NavigationTree& tree, const SettingsRecord& rec, std::string_view key);
// Status names of the four group nodes; returns the indexes whose text changed.
std::vector<int> RefreshStatusNames(NavigationTree& tree, const SettingsRecord& rec);
// "[Enable]" marks of one directory's entry nodes (run when its node is expanded).
std::vector<int> RefreshDirectoryMarks(NavigationTree& tree, const SettingsRecord& rec, Directory which);

// The node's text without its "[Enable]" mark ("CH16"): the name its page's edits go by.
std::string NodeName(const NavigationTree& tree, int index);

// Node keys of a channel ("PU12", "E7": group kEXP counts from 1) and a directory entry ("SM3").
std::string ChannelNodeKey(int group, int index);
std::string DirectoryNodeKey(Directory which, int number);

// The page of a node, from its key and its parent's key (empty for a root node),
// both compared in upper case.
PageRef ShowPage(std::string_view key, std::string_view parentKey);

// The node whose page is shown. A click on another node asks the validator of the
// pending text entry first; when it refuses, the current node is to be selected again.
class NodeSelection {
 public:
  enum class Action { None, Show, Reselect };
  struct Step {
    Action action = Action::None;
    int index = 0;
  };

  int Current() const { return index_; }  // -1 when none
  void Forget();

  Step Click(const NavigationTree& tree, int index, const std::function<bool()>& validate);
  Step SelectNode(const NavigationTree& tree, std::string_view key, const std::function<bool()>& validate);
  // After the tree was built again: the current node by its key, since indexes move
  // when a group comes or goes. -1 when that node is gone.
  int Follow(const NavigationTree& tree);

 private:
  int index_ = -1;
  std::string key_;
};

}  // namespace qm47
