#pragma once

class QDialog;
class QDialogButtonBox;

// The "OK" and "Annuleren" buttons of every dialog, tied to its accept and
// reject (overrides included).
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
