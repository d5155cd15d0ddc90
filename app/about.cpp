#include "app/about.h"

Tfm_about::Tfm_about(QWidget *parent) : QDialog(parent)
{
}
