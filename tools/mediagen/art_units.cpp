// The submarine, the creatures, the planes and the bombs and rockets, each
// rendered at every heading of its strip.

#include <stdio.h>

#include <memory>

#include "art.h"
#include "models.h"
#include "output.h"

namespace {

// Frame k of a strip shows heading k * (360 / frames) + offset degrees.
Canvas heading_strip(const Model& model, View view, int frames, float offset)
{
    std::vector<Canvas> list;
    for (int k = 0; k < frames; k++) {
        view.heading = k * (360.0f / frames) + offset;
        list.push_back(render_model(model, view));
    }
    return make_strip(list);
}

Canvas shadow_strip(const Model& model, View view, int frames, Rgb colour, bool stipple)
{
    std::vector<Canvas> list;
    for (int k = 0; k < frames; k++) {
        view.heading = k * (360.0f / frames);
        list.push_back(render_shadow(model, view, colour, stipple));
    }
    return make_strip(list);
}

struct CreatureArt {
    const char* name;
    std::unique_ptr<Model> model;
    int size;
    float zoom, icon_zoom, lift;
};

std::vector<CreatureArt> creature_list()
{
    std::vector<CreatureArt> list;
    list.push_back({"ryba", std::unique_ptr<Model>(new FishModel), 42, 1.15f, 0.74f, 2.0f});
    list.push_back({"meduza", std::unique_ptr<Model>(new JellyfishModel), 46, 1.12f, 0.68f, 2.0f});
    list.push_back({"krab", std::unique_ptr<Model>(new CrabModel), 50, 1.08f, 0.58f, 2.0f});
    list.push_back({"krakatice", std::unique_ptr<Model>(new SquidModel), 58, 1.1f, 0.52f, 1.0f});
    list.push_back({"had", std::unique_ptr<Model>(new SerpentModel), 66, 1.08f, 0.48f, 3.0f});
    return list;
}

}  // namespace

Canvas creature_icon(const std::string& name)
{
    Canvas icon(26, 26);
    fill_box(icon, 0.5f, 0.5f, 25, 25, 5, rgba(150, 186, 210));
    fill_box(icon, 1.5f, 1.5f, 23, 23, 4, rgba(18, 40, 62));
    fill_shape(icon, 2, 2, 24, 24, [](float x, float y) { return sd_box(x, y, 13, 13, 11, 11, 4); },
               [](float, float y) { return with_alpha(mix(rgb(34, 82, 112), rgb(14, 34, 56), y / 26.0f), 1.0f); });
    for (CreatureArt& c : creature_list()) {
        if (name != c.name) continue;
        View view;
        view.size = 26;
        view.heading = 315.0f;
        view.zoom = c.icon_zoom;
        view.lift = 1.0f;
        view.samples = 4;
        Canvas sprite = render_model(*c.model, view);
        paste(icon, sprite, 0, 0);
    }
    return icon;
}

void make_units()
{
    // The submarine: frame k is drawn while its angle on the ellipse lies in
    // k * 5 ... k * 5 + 4 degrees, so it shows the heading along the ellipse
    // at the middle of that range (the tangent, 90 degrees further on).
    SubmarineModel sub;
    View sub_view;
    sub_view.size = 64;
    sub_view.zoom = 1.18f;
    sub_view.lift = 3.5f;
    sub_view.samples = 2;
    save_keyed("GFX/sub/ponorka.bmp", heading_strip(sub, sub_view, 72, 90.0f + 2.5f));

    for (CreatureArt& c : creature_list()) {
        View view;
        view.size = c.size;
        view.zoom = c.zoom;
        view.lift = c.lift;
        view.samples = 2;
        save_keyed(std::string("GFX/creatures/") + c.name + ".bmp", heading_strip(*c.model, view, 36, 0.0f));
        save_keyed(std::string("GFX/creatures/") + c.name + "_ikona.bmp", creature_icon(c.name));
    }

    Rgb shadow = rgb(8, 30, 46);
    PlaneModel bomber(true), fighter(false);
    View plane_view;
    plane_view.size = 80;
    plane_view.samples = 2;
    save_keyed("GFX/planes/bombarder.bmp", heading_strip(bomber, plane_view, 8, 0.0f));
    save_keyed("GFX/planes/bombarder_stin.bmp", shadow_strip(bomber, plane_view, 8, shadow, true));
    plane_view.size = 64;
    save_keyed("GFX/planes/stihacka.bmp", heading_strip(fighter, plane_view, 8, 0.0f));
    save_keyed("GFX/planes/stihacka_stin.bmp", shadow_strip(fighter, plane_view, 8, shadow, true));

    BombModel bomb(false), heavy(true);
    View bomb_view;
    bomb_view.size = 16;
    bomb_view.samples = 4;
    bomb_view.rim_dark = false;
    save_keyed("GFX/shots/puma.bmp", heading_strip(bomb, bomb_view, 8, 0.0f));
    save_keyed("GFX/shots/puma_stin.bmp", shadow_strip(bomb, bomb_view, 8, shadow, false));
    bomb_view.size = 20;
    save_keyed("GFX/shots/letecka_puma.bmp", heading_strip(heavy, bomb_view, 8, 0.0f));
    save_keyed("GFX/shots/letecka_puma_stin.bmp", shadow_strip(heavy, bomb_view, 8, shadow, false));

    // Rockets keep the heading they were launched at; frame k covers the
    // angles k * 15 ... k * 15 + 14, so it shows the middle one.
    RocketModel rocket;
    View rocket_view;
    rocket_view.size = 16;
    rocket_view.samples = 4;
    rocket_view.rim_dark = false;
    save_keyed("GFX/shots/raketa.bmp", heading_strip(rocket, rocket_view, 24, 7.5f));
    rocket_view.heading = 0;
    std::vector<Canvas> shadows;
    for (int k = 0; k < 24; k++) {
        rocket_view.heading = k * 15.0f + 7.5f;
        shadows.push_back(render_shadow(rocket, rocket_view, shadow, false));
    }
    save_keyed("GFX/shots/raketa_stin.bmp", make_strip(shadows));
}
