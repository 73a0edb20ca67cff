#include "document/tree_operations.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace quillora {

// ============================================================================================
// Title comparisons
// ============================================================================================

namespace {

// Weights of one Windows-1252 byte. A byte yields up to two collation elements (ligatures such
// as "æ" sort as "ae"); '-' and '\'' yield none and only break ties.
struct ByteWeight {
    uint16_t primary[2] = {0, 0};
    uint8_t elements = 1;
    uint8_t accent = 0;  // 0 for the plain letter; each diacritic has its own rank
    bool upper = false;
    bool ignorable = false;
    unsigned char folded = 0;  // the byte in lower case
};

enum Accent : uint8_t {
    kPlain = 0,
    kAcute,
    kGrave,
    kCircumflex,
    kDiaeresis,
    kTilde,
    kRing,
    kCedilla,
    kStroke,
    kCaron,
    kEth,
    kLigature,
    kOrdinal,
    kSuperscript,
    kHook,
};

// Primary bands: control bytes < punctuation and symbols < digits < letters.
constexpr uint16_t kControlBand = 0x0000;
constexpr uint16_t kSymbolBand = 0x1000;
constexpr uint16_t kDigitBand = 0x2000;
constexpr uint16_t kLetterBand = 0x3000;
constexpr uint16_t kThorn = kLetterBand + 26;  // after z

constexpr uint16_t Letter(char base) {
    return kLetterBand + static_cast<uint16_t>(base - 'a');
}

struct Accented {
    unsigned char byte;
    char base;
    char second;  // second element of a ligature, or 0
    uint8_t accent;
    bool upper;
};

// The letters of Windows-1252 outside ASCII.
constexpr Accented kAccented[] = {
    {0x83, 'f', 0, kHook, false},      {0x8A, 's', 0, kCaron, true},
    {0x8C, 'o', 'e', kLigature, true}, {0x8E, 'z', 0, kCaron, true},
    {0x9A, 's', 0, kCaron, false},     {0x9C, 'o', 'e', kLigature, false},
    {0x9E, 'z', 0, kCaron, false},     {0x9F, 'y', 0, kDiaeresis, true},
    {0xAA, 'a', 0, kOrdinal, false},   {0xBA, 'o', 0, kOrdinal, false},
    {0xC0, 'a', 0, kGrave, true},      {0xC1, 'a', 0, kAcute, true},
    {0xC2, 'a', 0, kCircumflex, true}, {0xC3, 'a', 0, kTilde, true},
    {0xC4, 'a', 0, kDiaeresis, true},  {0xC5, 'a', 0, kRing, true},
    {0xC6, 'a', 'e', kLigature, true}, {0xC7, 'c', 0, kCedilla, true},
    {0xC8, 'e', 0, kGrave, true},      {0xC9, 'e', 0, kAcute, true},
    {0xCA, 'e', 0, kCircumflex, true}, {0xCB, 'e', 0, kDiaeresis, true},
    {0xCC, 'i', 0, kGrave, true},      {0xCD, 'i', 0, kAcute, true},
    {0xCE, 'i', 0, kCircumflex, true}, {0xCF, 'i', 0, kDiaeresis, true},
    {0xD0, 'd', 0, kEth, true},        {0xD1, 'n', 0, kTilde, true},
    {0xD2, 'o', 0, kGrave, true},      {0xD3, 'o', 0, kAcute, true},
    {0xD4, 'o', 0, kCircumflex, true}, {0xD5, 'o', 0, kTilde, true},
    {0xD6, 'o', 0, kDiaeresis, true},  {0xD8, 'o', 0, kStroke, true},
    {0xD9, 'u', 0, kGrave, true},      {0xDA, 'u', 0, kAcute, true},
    {0xDB, 'u', 0, kCircumflex, true}, {0xDC, 'u', 0, kDiaeresis, true},
    {0xDD, 'y', 0, kAcute, true},      {0xDF, 's', 's', kLigature, false},
    {0xFF, 'y', 0, kDiaeresis, false},
};

// Upper-case bytes outside ASCII whose lower case is not byte + 0x20.
constexpr std::array<std::array<unsigned char, 2>, 4> kOddCasePairs{
    {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}}};

std::array<ByteWeight, 256> BuildWeights() {
    std::array<ByteWeight, 256> table{};
    for (int b = 0; b < 256; ++b) {
        ByteWeight& w = table[b];
        w.folded = static_cast<unsigned char>(b);
        w.primary[0] = (b < 0x20 || b == 0x7F) ? static_cast<uint16_t>(kControlBand + b)
                                               : static_cast<uint16_t>(kSymbolBand + b);
    }
    for (int b = '0'; b <= '9'; ++b) table[b].primary[0] = kDigitBand + (b - '0');
    for (int b = 'a'; b <= 'z'; ++b) {
        table[b].primary[0] = Letter(static_cast<char>(b));
        ByteWeight& upper = table[b - 0x20];
        upper.primary[0] = Letter(static_cast<char>(b));
        upper.upper = true;
        upper.folded = static_cast<unsigned char>(b);
    }
    for (const Accented& a : kAccented) {
        ByteWeight& w = table[a.byte];
        w.primary[0] = Letter(a.base);
        if (a.second != 0) {
            w.primary[1] = Letter(a.second);
            w.elements = 2;
        }
        w.accent = a.accent;
        w.upper = a.upper;
    }
    for (int b = 0xE0; b <= 0xFE; ++b) {
        if (b == 0xF7) continue;  // the division sign
        table[b - 0x20].folded = static_cast<unsigned char>(b);
        // Lower-case twins of the upper-case letters above, same weights but for case.
        if (b != 0xFE) {
            table[b] = table[b - 0x20];
            table[b].upper = false;
            table[b].folded = static_cast<unsigned char>(b);
        }
    }
    for (const auto& [upper, lower] : kOddCasePairs) table[upper].folded = lower;
    table[0xDE].primary[0] = kThorn;
    table[0xDE].upper = true;
    table[0xFE].primary[0] = kThorn;
    table[0xFE].folded = 0xFE;
    // Superscript digits sort with their digit.
    table[0xB9].primary[0] = kDigitBand + 1;
    table[0xB2].primary[0] = kDigitBand + 2;
    table[0xB3].primary[0] = kDigitBand + 3;
    for (int b : {0xB9, 0xB2, 0xB3}) table[b].accent = kSuperscript;
    for (int b : {int{'-'}, int{'\''}, 0xAD}) {
        table[b].ignorable = true;
        table[b].elements = 0;
    }
    return table;
}

const std::array<ByteWeight, 256>& Weights() {
    static const std::array<ByteWeight, 256> table = BuildWeights();
    return table;
}

// Walks the collation elements of a title one by one.
class ElementCursor {
public:
    explicit ElementCursor(std::string_view text) : text_(text) { Settle(); }

    bool AtEnd() const { return pos_ >= text_.size(); }
    const ByteWeight& Current() const { return Weights()[Byte()]; }
    uint16_t Primary() const { return Current().primary[element_]; }
    void Advance() {
        if (++element_ >= Current().elements) {
            element_ = 0;
            ++pos_;
            Settle();
        }
    }

private:
    unsigned char Byte() const { return static_cast<unsigned char>(text_[pos_]); }
    void Settle() {
        while (pos_ < text_.size() && Weights()[Byte()].elements == 0) ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    uint8_t element_ = 0;
};

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// Compares the two element sequences by one level of weights; a sequence that ends first is
// smaller.
template <typename Level>
int CompareLevel(std::string_view a, std::string_view b, Level level) {
    ElementCursor x(a), y(b);
    while (!x.AtEnd() && !y.AtEnd()) {
        const int d = level(x) - level(y);
        if (d != 0) return Sign(d);
        x.Advance();
        y.Advance();
    }
    return static_cast<int>(!x.AtEnd()) - static_cast<int>(!y.AtEnd());
}

int CountIgnorable(std::string_view text) {
    int count = 0;
    for (char c : text) count += Weights()[static_cast<unsigned char>(c)].ignorable ? 1 : 0;
    return count;
}

int CompareBytes(std::string_view a, std::string_view b, bool fold) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (fold) {
            x = Weights()[x].folded;
            y = Weights()[y].folded;
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

int CompareTitles(std::string_view a, std::string_view b, bool ignore_case) {
    if (int d = CompareLevel(a, b, [](const ElementCursor& c) { return int{c.Primary()}; }))
        return d;
    if (int d = CompareLevel(a, b, [](const ElementCursor& c) { return int{c.Current().accent}; }))
        return d;
    if (!ignore_case) {
        if (int d = CompareLevel(a, b,
                                 [](const ElementCursor& c) { return c.Current().upper ? 1 : 0; }))
            return d;
    }
    if (int d = Sign(CountIgnorable(a) - CountIgnorable(b))) return d;
    return CompareBytes(a, b, ignore_case);
}

}  // namespace

int CompareTitlesWordSort(std::string_view a, std::string_view b) {
    return CompareTitles(a, b, false);
}

int CompareTitlesIgnoreCase(std::string_view a, std::string_view b) {
    return CompareTitles(a, b, true);
}

// ============================================================================================
// Tree commands
// ============================================================================================

namespace {

bool IsFolder(const NoteTree& tree, NodeId node) {
    return tree.Data(node).Kind == kFolder;
}

void MarkModified(NotesDocument& doc) {
    doc.modified = true;
}

// A node left without children is shown closed.
NodeId CloseIfEmptied(NotesDocument& doc, NodeId parent) {
    if (parent == kNoNode || !doc.tree.Children(parent).empty()) return kNoNode;
    doc.tree.SetImage(parent, ImageAfterExpandChange(doc.tree, doc.images, parent, false));
    return parent;
}

}  // namespace

NewNodeResult CreateNode(NotesDocument& doc, int32_t kind, NodeId selected, bool in_folder,
                         std::string_view title) {
    NewNodeResult result;
    const std::optional<int> slot = doc.texts.AllocateTextSlot();
    if (!slot) {
        result.full = true;
        return result;
    }
    NoteTree& tree = doc.tree;
    NodeId parent = kNoNode;
    int row = static_cast<int>(tree.Children(kNoNode).size());
    if (tree.Exists(selected)) {
        if (in_folder && IsFolder(tree, selected)) {
            parent = selected;
            row = static_cast<int>(tree.Children(selected).size());
        } else {
            parent = tree.Parent(selected);
            row = tree.Row(selected);
        }
    }
    const int32_t node_kind = kind == kNote ? kNote : kFolder;
    result.node = tree.Insert(parent, row, title, NodeData{node_kind, *slot},
                              doc.images.ImageFor(node_kind, false));
    result.slot = *slot;
    for (NodeId p = parent; p != kNoNode; p = tree.Parent(p)) {
        result.opened.insert(result.opened.begin(), p);
        tree.SetImage(p, ImageAfterExpandChange(tree, doc.images, p, true));
    }
    MarkModified(doc);
    result.marked_modified = true;
    return result;
}

DeleteQuestion DeleteQuestionFor(const NoteTree& tree, NodeId node) {
    if (!tree.Exists(node)) return DeleteQuestion::kNote;
    // A note can hold children too (dropped on it while it shows a folder image); the user is
    // told that they go with it.
    if (!tree.Children(node).empty()) return DeleteQuestion::kNodeWithChildren;
    return tree.IsNote(node) ? DeleteQuestion::kNote : DeleteQuestion::kEmptyFolder;
}

DeleteResult DeleteNode(NotesDocument& doc, NodeId node) {
    DeleteResult result;
    NoteTree& tree = doc.tree;
    if (!tree.Exists(node)) return result;

    // Every node below, from the last back to the first, then the node itself.
    const std::vector<NodeId> doomed = tree.Subtree(node);
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        doc.texts.ReleaseTextSlot(tree.Data(*it).TextIndex);
        ++result.released_slots;
    }

    const NodeId parent = tree.Parent(node);
    const int row = tree.Row(node);
    const std::vector<NodeId>& siblings = tree.Children(parent);
    if (static_cast<std::size_t>(row) + 1 < siblings.size()) {
        result.new_selection = siblings[row + 1];
    } else if (parent != kNoNode) {
        result.new_selection = parent;
    } else if (row > 0) {
        result.new_selection = siblings[row - 1];
    }

    tree.Remove(node);
    result.emptied_parent = CloseIfEmptied(doc, parent);
    doc.current_text_index = -1;
    doc.current_kind = -1;
    result.deleted = true;
    result.tree_empty = tree.Empty();
    MarkModified(doc);
    result.marked_modified = true;
    return result;
}

std::string RenameNode(NotesDocument& doc, NodeId node, std::string_view new_title) {
    if (!doc.tree.Exists(node)) return {};
    doc.tree.SetTitle(node, new_title);
    MarkModified(doc);
    return doc.tree.Title(node);
}

std::string SetTitleFromClock(NotesDocument& doc, NodeId node, ClockTitle which, const Clock& clock,
                              const DateTimeSeparators& separators) {
    if (!doc.tree.Exists(node)) return {};
    const DateTime now = clock.Now();
    return RenameNode(doc, node,
                      which == ClockTitle::kDate ? FormatShortDate(now, separators)
                                                 : FormatShortTime(now, separators));
}

bool CanMoveUp(const NoteTree& tree, NodeId node) {
    return tree.Exists(node) && tree.Parent(node) == kNoNode;
}

bool CanMoveDown(const NoteTree& tree, NodeId node) {
    return CanMoveUp(tree, node);
}

bool MoveUp(NotesDocument& doc, NodeId node) {
    if (!CanMoveUp(doc.tree, node)) return false;
    const int row = doc.tree.Row(node);
    if (row == 0) return false;
    doc.tree.Move(node, kNoNode, row - 1);
    MarkModified(doc);
    return true;
}

bool MoveDown(NotesDocument& doc, NodeId node) {
    if (!CanMoveDown(doc.tree, node)) return false;
    const int row = doc.tree.Row(node);
    const std::vector<NodeId>& top = doc.tree.Children(kNoNode);
    if (static_cast<std::size_t>(row) + 1 >= top.size()) return false;
    doc.tree.Move(top[row + 1], kNoNode, row);
    MarkModified(doc);
    return true;
}

DropDecision DecideDrop(const NoteTree& tree, const NodeImages& images, NodeId dragged,
                        NodeId target) {
    DropDecision decision;
    if (!tree.Exists(dragged) || !tree.Exists(target)) return decision;
    if (target == dragged) {
        decision.action = DropAction::kNothing;
        decision.parent = tree.Parent(dragged);
        decision.row = tree.Row(dragged);
        return decision;
    }
    if (tree.IsInSubtree(target, dragged)) return decision;
    const int32_t image = tree.Image(target);
    if (image == images.folder || image == images.opened_folder) {
        decision.action = DropAction::kIntoFolder;
        decision.parent = target;
        decision.row = static_cast<int>(tree.Children(target).size());
    } else {
        decision.action = DropAction::kBefore;
        decision.parent = tree.Parent(target);
        decision.row = tree.Row(target);
    }
    return decision;
}

DropResult ApplyDrop(NotesDocument& doc, NodeId dragged, NodeId target) {
    DropResult result;
    result.decision = DecideDrop(doc.tree, doc.images, dragged, target);
    const DropAction action = result.decision.action;
    if (action != DropAction::kIntoFolder && action != DropAction::kBefore) return result;

    NoteTree& tree = doc.tree;
    const NodeId old_parent = tree.Parent(dragged);
    if (!tree.Move(dragged, result.decision.parent, result.decision.row)) return result;
    result.moved = true;
    MarkModified(doc);
    if (action == DropAction::kIntoFolder) {
        result.opened = target;
        tree.SetImage(target, ImageAfterExpandChange(tree, doc.images, target, true));
    }
    result.emptied_parent = CloseIfEmptied(doc, old_parent);
    return result;
}

bool SortFolder(NotesDocument& doc, NodeId folder) {
    NoteTree& tree = doc.tree;
    if (!tree.Exists(folder) || !IsFolder(tree, folder)) return false;
    const auto less = [&tree](NodeId a, NodeId b) {
        return CompareTitlesIgnoreCase(tree.Title(a), tree.Title(b)) < 0;
    };
    tree.ReorderChange([&] {
        for (NodeId node : tree.Subtree(folder)) {
            if (IsFolder(tree, node)) tree.SortChildren(node, less);
        }
    });
    MarkModified(doc);
    return true;
}

bool SortAll(NotesDocument& doc) {
    NoteTree& tree = doc.tree;
    if (tree.Empty()) return false;
    const auto less = [&tree](NodeId a, NodeId b) {
        return CompareTitlesWordSort(tree.Title(a), tree.Title(b)) < 0;
    };
    tree.ReorderChange([&] {
        tree.SortChildren(kNoNode, less);
        for (NodeId node : tree.DisplayOrder()) {
            if (!tree.Children(node).empty()) tree.SortChildren(node, less);
        }
    });
    MarkModified(doc);
    return true;
}

int32_t ImageAfterExpandChange(const NoteTree& tree, const NodeImages& images, NodeId node,
                               bool expanded) {
    if (tree.IsNote(node)) return images.note;
    return images.ImageFor(kFolder, expanded && !tree.Children(node).empty());
}

void ApplyExpandImage(NotesDocument& doc, NodeId node, bool expanded) {
    if (!doc.tree.Exists(node)) return;
    doc.tree.SetImage(node, ImageAfterExpandChange(doc.tree, doc.images, node, expanded));
}

void ReapplyImages(NotesDocument& doc, const std::function<bool(NodeId)>& is_expanded) {
    doc.tree.ForEachInDisplayOrder([&](NodeId node, int) {
        doc.tree.SetImage(node,
                          ImageAfterExpandChange(doc.tree, doc.images, node, is_expanded(node)));
    });
}

void ApplyCloseAllImages(NotesDocument& doc) {
    ReapplyImages(doc, [](NodeId) { return false; });
}

void ApplyOpenAllImages(NotesDocument& doc) {
    ReapplyImages(doc, [](NodeId) { return true; });
}

NotesMenuEnabling ComputeNotesMenuEnabling(const NoteTree& tree, NodeId selected) {
    NotesMenuEnabling e;
    if (!tree.Exists(selected)) return e;
    e.delete_node = true;
    e.rename = true;
    e.sort_all = true;
    if (IsFolder(tree, selected)) {
        e.sort = true;
        e.in_folder_items = true;
    }
    e.move_up = e.move_down = tree.Parent(selected) == kNoNode;
    return e;
}

TreeKeyCommand CommandForTreeKey(TreeKey key, bool ctrl, bool shift, bool has_selection,
                                 bool editing_title) {
    if (editing_title) return TreeKeyCommand::kNone;
    switch (key) {
        case TreeKey::kInsert:
            if (shift) return TreeKeyCommand::kNone;
            return ctrl ? TreeKeyCommand::kNewFolder : TreeKeyCommand::kNewNote;
        case TreeKey::kDelete:
            return has_selection ? TreeKeyCommand::kDelete : TreeKeyCommand::kNone;
        case TreeKey::kD:
            return ctrl && shift && has_selection ? TreeKeyCommand::kDateTitle
                                                  : TreeKeyCommand::kNone;
        case TreeKey::kT:
            return ctrl && shift && has_selection ? TreeKeyCommand::kTimeTitle
                                                  : TreeKeyCommand::kNone;
        case TreeKey::kOther:
            break;
    }
    return TreeKeyCommand::kNone;
}

}  // namespace quillora
