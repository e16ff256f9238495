#include "plain_text_edit.h"

class PyPlainTextEditPrivate
{
};

PyPlainTextEdit::PyPlainTextEdit(QWidget *parent) : QPlainTextEdit(parent) {}

PyPlainTextEdit::~PyPlainTextEdit() = default;
