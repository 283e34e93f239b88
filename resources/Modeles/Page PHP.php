<?php
// Traitements avant l'affichage de la page.
$titre = "Titre de la page";
?>
<!DOCTYPE html>
<html lang="fr">
<head>
<meta charset="utf-8">
<title><?php echo htmlspecialchars($titre); ?></title>
</head>
<body>

<h1><?php echo htmlspecialchars($titre); ?></h1>
<p>Nous sommes le <?php echo date("d/m/Y"); ?>.</p>

</body>
</html>
