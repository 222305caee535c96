#include "project/sources.h"

#include <algorithm>
#include <utility>

namespace thc {

uint32_t SourceMap::add(const DocNode* node, uint32_t parent) {
  entries_.push_back(Entry{parent, node->siblingNumber, pathSegment(node)});
  return static_cast<uint32_t>(entries_.size() - 1);
}

SourceRef SourceMap::refer(const DocNode* node) {
  if (!node || node->kind == NodeKind::Document) return {};
  // Nearly always the element is a child of the one met last, or its
  // sibling: its parent is then the last or the last but one on the chain.
  for (size_t back = 1; back <= 2 && back <= chain_.size(); ++back) {
    if (chain_[chain_.size() - back].node != node->parent) continue;
    chain_.resize(chain_.size() - back + 1);
    const uint32_t index = add(node, chain_.back().index);
    chain_.push_back(Open{node, index});
    return SourceRef{index};
  }
  // The ancestors not on the chain, innermost first; the walk stops at the
  // first one the chain holds, or at the document.
  std::vector<const DocNode*>& missing = missing_;
  missing.clear();
  size_t kept = 0;  // how much of the chain stays
  for (const DocNode* n = node; n && n->kind != NodeKind::Document; n = n->parent) {
    auto found = std::find_if(chain_.rbegin(), chain_.rend(), [n](const Open& o) { return o.node == n; });
    if (found != chain_.rend()) {
      kept = static_cast<size_t>(chain_.rend() - found);
      break;
    }
    missing.push_back(n);
  }
  chain_.resize(kept);
  uint32_t parent = chain_.empty() ? 0 : chain_.back().index;
  for (size_t i = missing.size(); i-- > 0;) {
    parent = add(missing[i], parent);
    chain_.push_back(Open{missing[i], parent});
  }
  return SourceRef{chain_.back().index};
}

void SourceMap::keepNames(DocTree& tree) {
  // The chain may name nodes of this tree, whose memory is reused once it
  // is freed.
  chain_.clear();
  names_.push_back(std::move(tree.names));
  tree.names = BlockStore<char16_t>();
}

std::u16string SourceMap::path(SourceRef ref) const {
  if (ref.index == 0) return u"/";
  std::vector<uint32_t> chain;
  for (uint32_t i = ref.index; i != 0; i = entries_[i].parent) chain.push_back(i);
  std::u16string result;
  for (size_t k = chain.size(); k-- > 0;) {
    const Entry& entry = entries_[chain[k]];
    result += u'/';
    result.append(entry.name);
    if (entry.siblingNumber > 1) {
      const std::string number = std::to_string(entry.siblingNumber);
      result += u'[';
      result.append(number.begin(), number.end());
      result += u']';
    }
  }
  return result;
}

}  // namespace thc
