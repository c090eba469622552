#pragma once
// A window for looking the program's own widgets over: the string grid with
// painted cells, the pictures with their drawing options, and the own
// controls. Started with the hidden option --widget-gallery.

class QWidget;

QWidget* CreateWidgetGallery();
