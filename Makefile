# Two entry points: `make run` starts Penwick, `make test` runs every test headless.
PRESET ?= dev
BUILD  := build/$(PRESET)

.PHONY: run test

run:
	@./scripts/bootstrap
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET) --target penwick
	./$(BUILD)/penwick

test:
	@./scripts/bootstrap
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)
	@ctest --preset $(PRESET)
