// SPDX-License-Identifier: GPL-3.0-or-later
#include "imageprogressview.h"

#include "model/fieldlayout.h"

namespace rw {

void ImageProgressView::setProgressRange(int minimum, int)
{
    view_.setProgressRange(minimum, ImageSize);
}

} // namespace rw
