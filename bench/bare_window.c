/* bare_window.c: the start-up benchmark's floor: a GTK 4 application window of about Dovra's size (160 x 201
 * pixels, its board, score strip and menu bar) whose one widget, a drawing area, paints itself white. What
 * Dovra takes beyond this window is Dovra's own. */
#include <gtk/gtk.h>

static void draw(GtkDrawingArea *area, cairo_t *cr, int width, int height, gpointer data)
{
    (void)area, (void)width, (void)height, (void)data;
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
}

static void activate(GtkApplication *application, gpointer data)
{
    (void)data;
    GtkWidget *window = gtk_application_window_new(application);
    gtk_window_set_title(GTK_WINDOW(window), "Bare window");
    GtkWidget *area = gtk_drawing_area_new();
    gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(area), 160);
    gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(area), 201);
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(area), draw, NULL, NULL);
    gtk_window_set_child(GTK_WINDOW(window), area);
    gtk_window_present(GTK_WINDOW(window));
}

int main(int argc, char **argv)
{
    GtkApplication *application = gtk_application_new("org.example.dovra.BareWindow", G_APPLICATION_DEFAULT_FLAGS);
    g_signal_connect(application, "activate", G_CALLBACK(activate), NULL);
    const int status = g_application_run(G_APPLICATION(application), argc, argv);
    g_object_unref(application);
    return status;
}
