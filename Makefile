# The same entry points as scripts/run, scripts/test and scripts/coverage, which need nothing but sh.
PRESET ?= dev
export PRESET

.PHONY: run test coverage

run:
	@./scripts/run

test:
	@./scripts/test

coverage:
	@./scripts/coverage
