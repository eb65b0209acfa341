// The demo game.
