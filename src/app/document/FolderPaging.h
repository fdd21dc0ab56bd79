// Paging through a folder: Page Down and Page Up go from the picture shown to the next and the
// previous image beside it, round from one end of the folder to the other.
#pragma once

#include <string>
#include <vector>

namespace loom::app {

// The images of shown's folder, found as quennet finds a folder's images (regular, visible files
// whose extension a reader goes by, in the byte order of their names), in the order paging from
// shown by step (+1 onwards, -1 backwards) meets them: all but shown, once each, the next first.
// A shown file that is gone starts the paging where its name would sort. An unreadable folder
// gives none.
std::vector<std::string> pagingOrder(const std::string& shown, int step);

}  // namespace loom::app
