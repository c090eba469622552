#pragma once
// A page that shows every own control in its states (enabled, disabled,
// checked, unchecked, focused), for the hidden widget gallery.

class QWidget;

QWidget* CreateControlsGallery(QWidget* parent);
