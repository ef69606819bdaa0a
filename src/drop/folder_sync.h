// A dropped folder re-links the document's pictures: every box whose picture
// path or stored image name ends in a file name found in the folder (and its
// sub-folders, unless the preference "Subfolders" is 0 in a build that reads
// it) gets that file
// imported. Boxes of the master pages take part while document pages are
// shown.
#pragma once

namespace lumbrel {

// How the folder is searched for each box's name. Both find the same file;
// the indexed search walks the folder once per synchronisation, the per-box
// search once per named box (kept to check the index against and to measure
// what the index saves).
enum class FolderSearch { Indexed, WalkPerBox };

// Synchronises every box of the current document with the folder at `path`
// (a POSIX path). An empty path does nothing but log.
void dropFolder(const char* path);
void dropFolder(const char* path, FolderSearch search);

}  // namespace lumbrel
