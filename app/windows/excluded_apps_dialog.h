#pragma once
// The "Excluded apps" dialog, and the application rules it and the preferences hand
// to the engine: the applications left alone and whether new windows open in their
// last zone, with the remembered zones kept in last-zones.txt.
namespace tw::app {

struct AppState;

// Start-up: the remembered zones are read (a damaged file is set aside) and written
// after every change; the engine gets the rules of the settings.
void start_app_rules(AppState& state);
// The settings' rules again, after a change.
void apply_app_rules(AppState& state);

// Opens the dialog, or brings the open one to the front.
void open_excluded_apps_dialog(AppState& state);

}  // namespace tw::app
