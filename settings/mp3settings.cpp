#include "settings/mp3settings.h"

Tfm_mp3settings::Tfm_mp3settings(QWidget *parent) : QDialog(parent)
{
}
