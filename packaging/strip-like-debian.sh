#!/bin/sh
# The strip CPack runs on the packaged programs, as Debian's own packaging strips them: the
# compiler's .comment and .note sections go too (lintian: binary-has-unneeded-section).
exec strip --remove-section=.comment --remove-section=.note "$@"
