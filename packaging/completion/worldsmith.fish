# fish completion for worldsmith, the editor: its options, folders after
# --game-dir, and files for the save to open.

complete -c worldsmith -l game-dir -x -a '(__fish_complete_directories (commandline -ct))' -d 'The game folder'
complete -c worldsmith -l demo -d 'Start on the demo game'
complete -c worldsmith -s h -l help -d 'Show the help'
complete -c worldsmith -s v -l version -d 'Print the version and the commit'
