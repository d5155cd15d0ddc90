#include "settings/wavsetting.h"

Tfm_wavsettings::Tfm_wavsettings(QWidget *parent) : QDialog(parent)
{
}
