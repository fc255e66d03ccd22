// ImageList1: the two 16 x 16 images of the list views, drawn rather than
// loaded, so the plugin needs no image files.
#ifndef UNITS_DIALOGS_IMAGE_LIST_H_
#define UNITS_DIALOGS_IMAGE_LIST_H_

#include <QIcon>

namespace units {
namespace dialogs {

constexpr int kImageTick = 0;   // enabled; the active group
constexpr int kImageCross = 1;  // disabled
constexpr int kImageSize = 16;

// Image `index` of the list; an empty icon for any other index.
QIcon ListImage(int index);

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_IMAGE_LIST_H_
