# The same two entry points as scripts/run and scripts/test, which need nothing but sh.
PRESET ?= dev
export PRESET

.PHONY: run test

run:
	@./scripts/run

test:
	@./scripts/test
