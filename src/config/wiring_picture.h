// The wiring pictures: one file per connection type in the program's folder, shown on the
// parameter dialog's basic page and printed on the data sheet.
#pragma once

#include <string>
#include <string_view>

namespace kalvo {

// "s4u.sb", "s4g.sb", "s3u.sb", "s3g.sb", "s1.sb" for connection types 0..4; "" outside.
std::string_view wiringPictureFile(int connectionType);

// The picture of a connection type in `folder` (the program's folder); "" when the type has
// none or the folder is empty.
std::string wiringPicturePath(const std::string& folder, int connectionType);

}  // namespace kalvo
