#include "app/forms.h"

#include "app/about.h"
#include "app/mainform.h"
#include "settings/mp3settings.h"
#include "settings/selectdir.h"
#include "settings/wavsetting.h"

void createForms(MainParts parts)
{
    fm_main = new Tfm_main(std::move(parts));
    fm_mp3settings = new Tfm_mp3settings(fm_main);
    fm_wavsettings = new Tfm_wavsettings(fm_main);
    fm_Selectdirectory = new Tfm_Selectdirectory(fm_main);
    fm_about = new Tfm_about(fm_main);
    fm_mp3settings->setDirectoryChooser(fm_Selectdirectory);
    fm_wavsettings->setDirectoryChooser(fm_Selectdirectory);
    fm_main->setDialogs(fm_mp3settings, fm_wavsettings, fm_about);
}

void destroyForms()
{
    delete fm_main; // the dialogs are its children
    fm_about = nullptr;
    fm_Selectdirectory = nullptr;
    fm_wavsettings = nullptr;
    fm_mp3settings = nullptr;
    fm_main = nullptr;
}
