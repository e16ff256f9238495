#include "plain_text_edit.h"

PyPlainTextEdit::PyPlainTextEdit(QWidget *parent) : QPlainTextEdit(parent) {}

PyPlainTextEdit::~PyPlainTextEdit() = default;
