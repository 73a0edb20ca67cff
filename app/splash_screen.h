#pragma once

#include <QWidget>

namespace quillora {

// `TSplashScreen`: a frameless white panel shown during start-up, never modal, taking no input:
// the maker's name, the title banner, the rights lines and a picture in each lower corner.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    TSplashScreen();
};

}  // namespace quillora
