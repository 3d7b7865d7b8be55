#pragma once

#include "app/globetypes.h"

class GlobeScene;
struct AppState;

// Which spheres a view shows, and CurrentView for the kinds that name a view.
void apply_view_visibility(GlobeScene &scene, AppState &state, ViewKind kind);

// Shows one view on the main window's globe; 10 shows the current view again.
void ShowView(ViewKind kind);
