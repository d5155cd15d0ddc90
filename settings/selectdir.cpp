#include "settings/selectdir.h"

Tfm_Selectdirectory::Tfm_Selectdirectory(QWidget *parent) : QDialog(parent)
{
}
