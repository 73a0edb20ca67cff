#pragma once

#include <QWidget>

namespace quillora {

// `TSplashScreen`: a frameless white panel shown during start-up, never modal, taking no input.
class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    TSplashScreen();
};

// The rights lines the splash screen and the about box share.
QString RightsStatement();  // string 1005
QString OwnershipLine();    // string 1004 formatted with the years and the holder

}  // namespace quillora
