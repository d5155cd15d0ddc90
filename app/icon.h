#pragma once
#include <QIcon>

// Sonvera's own icon: the window icon and the About box picture.
QIcon sonveraIcon();
