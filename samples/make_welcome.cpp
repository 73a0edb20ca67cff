// Writes the welcome document that a first run of Quillora opens: a small tree of folders and
// notes that shows what the program does. Usage: make_welcome <output.qlb>

#include <cstdio>
#include <string>
#include <vector>

#include "document/notes_document.h"
#include "document/notes_file.h"

namespace {

using quillora::kFolder;
using quillora::kNote;
using quillora::NodeId;
using quillora::NotesDocument;

// Joins lines the way the notes file stores them: each line followed by CR LF.
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

NodeId Add(NotesDocument& doc, NodeId parent, const std::string& title, int kind,
           const std::vector<std::string>& lines) {
    const int slot = *doc.texts.AllocateTextSlot();
    doc.texts.SetText(slot, Lines(lines));
    return doc.tree.Append(parent, title, {kind, slot},
                           kind == kFolder ? doc.images.folder : doc.images.note);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_welcome <output.qlb>\n");
        return 2;
    }
    NotesDocument doc;

    const NodeId top = quillora::kNoNode;
    Add(doc, top, "Welcome to Quillora", kNote,
        {"Welcome!", "", "Quillora keeps your notes in a tree, like the one on the left.",
         "A note holds free text, like this one. A folder holds notes and",
         "more folders, and it has a text of its own too: select the folder",
         "\"Files\" to see it, and open it to see what is inside.", "",
         "Click the notes on the left to read a short tour. Everything you",
         "see here can be changed, moved or deleted: it is your document now."});
    const NodeId welcome = top;
    Add(doc, welcome, "Notes and folders", kNote,
        {"New notes and folders come from the Notes menu, the tool bar",
         "or the tree's context menu (right-click a note or folder).", "",
         "Ctrl+N makes a new note, Ctrl+O a new folder.",
         "\"In Folder\" puts the new note or folder inside the selected folder.", "",
         "Rename a note from the Notes menu, move it with Move Up and",
         "Move Down or by dragging it onto another place in the tree,",
         "and sort a folder's contents with Sort."});
    Add(doc, welcome, "Writing", kNote,
        {"Type in this pane: the text belongs to the note selected in the tree.",
         "The status bar shows the caret's line and column, and \"Modified\"",
         "as soon as the document has unsaved changes.", "",
         "The Edit menu has Undo, Cut, Copy and Paste, changing the case of",
         "the selection, and Word Wrap (Ctrl+W).",
         "F5 inserts today's date, F6 the time, F7 both."});
    Add(doc, welcome, "Finding things", kNote,
        {"Search > Find (Ctrl+F) looks through the texts of your notes and",
         "folders and shows the next match. Find Next (F3) goes on from there.",
         "Search > Replace (Ctrl+R) replaces one match at a time or all at once."});

    const NodeId files = Add(doc, welcome, "Files", kFolder,
                             {"One tree is one notes file (.qlb). The File menu saves it, opens",
                              "another one and lists the files you used last under Re-Open."});
    Add(doc, files, "Saving", kNote,
        {"File > Save writes the whole tree back to its file.",
         "Quillora writes a new copy first and only then replaces the old",
         "file, so a full disk never costs you the version you had.", "",
         "Before a command would close a document with unsaved changes,",
         "Quillora asks whether to save them."});
    Add(doc, files, "Import and export", kNote,
        {"File > Import Files turns text files into notes.",
         "File > Export writes notes out as plain text files.",
         "You can also drop a notes file on the window to open it."});
    Add(doc, files, "Favorites", kNote,
        {"The Favorites menu keeps the notes files you open often.",
         "Add the open file with Ctrl+D."});

    const NodeId yours = Add(doc, welcome, "Make it yours", kFolder,
                             {"Edit > Settings changes the colours and fonts of the tree and the",
                              "panes, the pictures of notes and folders, and whether Quillora",
                              "opens the last file again when it starts."});
    Add(doc, yours, "Help", kNote,
        {"Press F1 anywhere for help about the part of the window you are in,",
         "or open Help > Contents.", "Help > Show Hints switches the tool bar's tips on and off."});
    Add(doc, yours, "Your first note", kNote,
        {"This note is waiting for you. Select all of this text and start",
         "typing, then save with File > Save As to keep a copy of your own."});

    const quillora::WriteStatus status = quillora::WriteNotesFile(argv[1], doc);
    if (status != quillora::WriteStatus::Ok) {
        std::fprintf(stderr, "make_welcome: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
