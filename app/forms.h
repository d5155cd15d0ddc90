#pragma once

class Tfm_main;
class Tfm_mp3settings;
class Tfm_wavsettings;
class Tfm_Selectdirectory;
class Tfm_about;
struct MainParts;

// The program's forms, created once at start and kept until exit.
inline Tfm_main *fm_main = nullptr;
inline Tfm_mp3settings *fm_mp3settings = nullptr;
inline Tfm_wavsettings *fm_wavsettings = nullptr;
inline Tfm_Selectdirectory *fm_Selectdirectory = nullptr;
inline Tfm_about *fm_about = nullptr;

// Creates the five forms in their order: the main window first (it loads its
// skin while being made), then the dialogs, hidden.
void createForms(MainParts parts);
// Deletes them in the reverse order.
void destroyForms();
