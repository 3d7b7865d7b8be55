#include "app/showview.h"

#include "app/appstate.h"
#include "app/mainform.h"
#include "globe/daynight.h"
#include "globe/globescene.h"
#include "legend/legendbars.h"
#include "legend/statusline.h"

void apply_view_visibility(GlobeScene &scene, AppState &state, ViewKind kind)
{
    scene.NightSphere.visible = false;
    scene.EarthSphere.visible = false;
    scene.ClimateSphere.visible = false;
    // Compared unsigned, so negative kinds count as large and name no view.
    const auto k = static_cast<std::uint32_t>(kind);
    if (k <= static_cast<std::uint32_t>(View::Pressure)) {
        scene.ClimateSphere.visible = true;
        state.CurrentView = kind;
    } else if (kind == View::DayNight) {
        scene.NightSphere.visible = true;
        scene.EarthSphere.visible = true;
        scene.ClimateSphere.setRotationY(scene.EarthSphere.rotationY());
        state.CurrentView = kind;
    }
    scene.notifyChanged();
}

void ShowView(ViewKind kind)
{
    AppState &state = app();
    TMainForm *form = state.MainForm;
    if (!form)
        return;
    if (kind == View::DayNight)
        update_day_night();
    apply_view_visibility(form->scene(), state, kind);
    if (kind == View::Refresh && state.CurrentView != View::Refresh)
        ShowView(state.CurrentView);
    layout_legend(form->legendBars(), kind);
    show_clock_status();
    state.FirstActivation = false;
}
