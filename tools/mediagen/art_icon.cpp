// The desktop icon: the submarine on its ring of sea, seen slanting from
// above as in the game, under the gun's crosshair, on a rounded badge.

#include "art.h"
#include "models.h"
#include "output.h"

namespace {

const int SIZE = 128;

}  // namespace

Canvas desktop_icon()
{
    Canvas c(SIZE, SIZE);
    const float mid = SIZE / 2.0f;
    fill_box(c, 2, 2, SIZE - 4.0f, SIZE - 4.0f, 24, rgba(160, 204, 228));
    fill_shape(c, 5, 5, SIZE - 5.0f, SIZE - 5.0f, [mid](float x, float y) { return sd_box(x, y, mid, mid, 58, 58, 21); },
               [](float, float y) { return with_alpha(mix(rgb(40, 126, 164), rgb(6, 28, 52), y / SIZE), 1.0f); });
    // The depths the creatures rise from, and the submarine's ellipse.
    fill_ellipse(c, mid, 70, 22, 13, rgba(4, 18, 36, 0.85f));
    draw_ring(c, mid, 70, 46, 46 * 0.623f, 2.0f, rgba(170, 230, 250, 0.55f));

    SubmarineModel sub;
    View view;
    view.size = 84;
    view.zoom = 1.6f;
    view.lift = 3.0f;
    view.heading = 330.0f;
    view.samples = 4;
    paste(c, render_model(sub, view), (int)mid - 44, 52);

    // The crosshair, green as within reach.
    Rgba green = rgba(120, 255, 140);
    const float cx = 90, cy = 36;
    draw_ring(c, cx, cy, 13, 13, 2.6f, green);
    draw_line(c, cx - 20, cy, cx - 7, cy, 2.4f, green);
    draw_line(c, cx + 7, cy, cx + 20, cy, 2.4f, green);
    draw_line(c, cx, cy - 20, cx, cy - 7, 2.4f, green);
    draw_line(c, cx, cy + 7, cx, cy + 20, 2.4f, green);
    return c;
}

void make_icon()
{
    save_png("abyssor.png", desktop_icon());
}
